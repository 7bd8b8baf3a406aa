// The message link's costs: a request's bytes, reading a received storage, and
// a whole exchange as the console makes it, next to the floor every exchange
// pays anyway (a bare TCP connect and close). The ratio of the two is printed
// at the end of the run; the target is 3 or less.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "link/framedecoder.h"
#include "link/frameformat.h"
#include "link/linkerror.h"
#include "link/tcpsocket.h"
#include "link/timclient.h"
#include "link/timclistener.h"

namespace {

std::shared_ptr<IMessageData> CommandRequest() {
    auto request = TMessageData::Create();
    request->SetID(u"21#");
    request->Data().WriteUTF8String(u"Command", "Synchronous");
    return request;
}

void BM_EncodeRequest(benchmark::State& state) {
    for (auto _ : state) {
        auto request = CommandRequest();
        benchmark::DoNotOptimize(linkframe::Encode(*request));
    }
}
BENCHMARK(BM_EncodeRequest);

void BM_DecodeRequest(benchmark::State& state) {
    const std::vector<uint8_t> frame = linkframe::Encode(*CommandRequest());
    for (auto _ : state) {
        TFrameDecoder decoder(TFrameDecoder::TSide::Request);
        decoder.Feed(frame);
        TStreamStorage storage;
        storage.Storage().SetBytes(decoder.TakeData());
        benchmark::DoNotOptimize(storage.ReadUTF8String(u"Command"));
    }
}
BENCHMARK(BM_DecodeRequest);

// A received storage of n integers; every one of them is read, in stream order
// or backwards. Either way each entry is parsed once: the cost grows with n.
void ReadEveryValue(benchmark::State& state, bool backwards) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::u16string> names;
    TStreamStorage written;
    for (int i = 0; i < n; ++i) {
        std::string ascii = "value" + std::to_string(i);
        names.emplace_back(ascii.begin(), ascii.end());
        written.WriteInteger(names.back(), i);
    }
    const std::vector<uint8_t> received = written.Storage().Bytes();
    for (auto _ : state) {
        TStreamStorage storage;
        storage.Storage().SetBytes(received);
        int64_t sum = 0;
        for (int k = 0; k < n; ++k) {
            sum += storage.ReadInteger(names[backwards ? n - 1 - k : k]);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(n);
}

void BM_ReadEveryValueInOrder(benchmark::State& state) {
    ReadEveryValue(state, false);
}
void BM_ReadEveryValueBackwards(benchmark::State& state) {
    ReadEveryValue(state, true);
}
BENCHMARK(BM_ReadEveryValueInOrder)->RangeMultiplier(4)->Range(4, 4096)->Complexity(benchmark::oN);
BENCHMARK(BM_ReadEveryValueBackwards)
    ->RangeMultiplier(4)
    ->Range(4, 4096)
    ->Complexity(benchmark::oN);

// A room player on 127.0.0.1 answering every request with "6#".
class TLoopbackRoomPlayer {
public:
    TLoopbackRoomPlayer() {
        FListener.Listen("127.0.0.1:0");
        FThread = std::thread([this] {
            FListener.Serve([](IMessageData& request) {
                auto reply = TMessageData::Create();
                reply->SetID(request.ID());
                reply->Data().WriteUTF8String(u"String", "6#");
                return reply;
            });
        });
    }
    ~TLoopbackRoomPlayer() {
        FListener.Stop();
        FThread.join();
    }
    std::string Address() const { return FListener.Address(); }

private:
    TIMCListener FListener;
    std::thread FThread;
};

// The floor: a peer that accepts each connection and closes it at once.
class TAcceptAndClose {
public:
    TAcceptAndClose() {
        FListener.Listen("127.0.0.1:0");
        FThread = std::thread([this] {
            while (FListener.Accept()) {
            }
        });
    }
    ~TAcceptAndClose() {
        FListener.Stop();
        FThread.join();
    }
    uint16_t Port() const { return FListener.Port(); }

private:
    TIMCListener FListener;
    std::thread FThread;
};

// The connect and close that every exchange pays before any byte of the link:
// the client connects, the peer takes the connection and closes it, the client
// sees the close and closes too. Waiting for the peer keeps the measurement
// honest: a client that only fired connects would outrun the peer's accept
// queue and measure dropped handshakes instead.
void BM_BareConnectClose(benchmark::State& state) {
    static TAcceptAndClose peer;
    for (auto _ : state) {
        TSocket socket = TSocket::Connect("127.0.0.1", peer.Port(), 10000);
        uint8_t byte = 0;
        try {
            socket.ReceiveSome(&byte, 1, 10000);
        } catch (const ELinkError&) {
            // The peer's close: the connection's whole life is over.
        }
        socket.Close();
    }
}
BENCHMARK(BM_BareConnectClose)->Unit(benchmark::kMicrosecond)->UseRealTime();

// As the console sends a command: connect, one request, one reply, close.
void BM_LoopbackExchange(benchmark::State& state) {
    TIMCClient client;
    static TLoopbackRoomPlayer roomPlayer;
    client.SetServerAddress(roomPlayer.Address());
    auto request = CommandRequest();
    for (auto _ : state) {
        client.ConnectClient(10000);
        auto reply = client.ExecuteConnectedRequest(*request);
        client.DisconnectClient();
        if (!client.AnswerValid()) {
            state.SkipWithError(client.ErrorDesc().c_str());
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_LoopbackExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Keeps the real time of every plain run so the ratio can be printed after them.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    TRatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                FRealTime[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(std::ostream& out) const {
        auto floor = FRealTime.find("BM_BareConnectClose/real_time");
        auto exchange = FRealTime.find("BM_LoopbackExchange/real_time");
        if (floor == FRealTime.end() || exchange == FRealTime.end() || floor->second <= 0) {
            return;
        }
        double ratio = exchange->second / floor->second;
        out << "\nloopback exchange / bare connect and close: " << ratio
            << (ratio <= 3.0 ? " (within the target of 3)\n" : " (OVER the target of 3)\n");
    }

private:
    std::map<std::string, double> FRealTime;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio(std::cout);
    benchmark::Shutdown();
    return 0;
}
