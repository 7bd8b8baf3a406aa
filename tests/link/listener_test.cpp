// The room player's side of the link: one request, one reply or the failure
// marker, close; and requests whose lengths lie never reach the handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "link/frameformat.h"
#include "link/linkerror.h"
#include "link/timclistener.h"
#include "loopback_peer.h"

namespace {

struct TReceived {
    std::u16string id;
    std::string command;
};

// A listener serving in a thread of the test, recording every request it handled.
class ServingListener : public ::testing::Test {
protected:
    void Start(std::function<std::shared_ptr<IMessageData>(IMessageData&)> answer) {
        listener.Listen("127.0.0.1:0");
        thread = std::thread([this, answer] {
            listener.Serve([this, answer](IMessageData& request) {
                {
                    std::lock_guard<std::mutex> guard(lock);
                    received.push_back({request.ID(), request.Data().ReadUTF8String(u"Command")});
                }
                return answer(request);
            });
        });
    }

    void TearDown() override {
        listener.Stop();
        if (thread.joinable()) {
            thread.join();
        }
    }

    // Sends raw bytes as a console would and returns all the room player wrote.
    TBytes Exchange(const TBytes& request) {
        TSocket socket = TSocket::Connect("127.0.0.1", listener.Port(), 5000);
        socket.SendAll(request, 5000);
        return ReadUntilClosed(socket);
    }

    std::vector<TReceived> Received() {
        std::lock_guard<std::mutex> guard(lock);
        return received;
    }

    TIMCListener listener;
    std::thread thread;
    std::mutex lock;
    std::vector<TReceived> received;
};

std::shared_ptr<IMessageData> StringReply(std::u16string id, std::string text) {
    auto reply = TMessageData::Create();
    reply->SetID(std::move(id));
    reply->Data().WriteUTF8String(u"String", text);
    return reply;
}

const TBytes kRequest21 = Frame(u"21#", Entry(u"Command", Ascii("Synchronous")));

TEST_F(ServingListener, HandsTheRequestOverAndWritesOneReplyFrameThenCloses) {
    Start([](IMessageData& request) { return StringReply(request.ID(), "9#75"); });

    EXPECT_EQ(Hex(Exchange(kRequest21)), Hex(ReplyFrame(u"21#", "9#75")));
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0].id, u"21#");
    EXPECT_EQ(Received()[0].command, "Synchronous");
}

TEST_F(ServingListener, NoReplyOrAFailingHandlerSendsTheFailureMarker) {
    int calls = 0;
    Start([&calls](IMessageData&) -> std::shared_ptr<IMessageData> {
        if (++calls == 1) {
            return nullptr;
        }
        throw std::runtime_error("the room player cannot do that");
    });
    EXPECT_EQ(Exchange(kRequest21), TBytes(8, 0xFF));
    EXPECT_EQ(Exchange(kRequest21), TBytes(8, 0xFF));
}

TEST_F(ServingListener, ARequestArrivingInPiecesIsReadWhole) {
    Start([](IMessageData& request) { return StringReply(request.ID(), "6#"); });
    TSocket socket = TSocket::Connect("127.0.0.1", listener.Port(), 5000);
    std::span<const uint8_t> bytes(kRequest21);
    for (size_t i = 0; i < bytes.size(); i += 5) {
        socket.SendAll(bytes.subspan(i, std::min<size_t>(5, bytes.size() - i)), 5000);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(Hex(ReadUntilClosed(socket)), Hex(ReplyFrame(u"21#", "6#")));
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0].command, "Synchronous");
}

struct TBadRequest {
    const char* name;
    TBytes bytes;
};

void PrintTo(const TBadRequest& row, std::ostream* out) {
    *out << "\"" << row.name << "\"";
}

class ListenerRejects : public ServingListener,
                        public ::testing::WithParamInterface<TBadRequest> {};

// The client keeps its end open after the bad length: a listener that waited
// for the bytes announced would hold the connection until its own time-out.
TEST_P(ListenerRejects, RequestsWhoseLengthsLieWithoutCallingTheHandler) {
    listener.SetRequestTimeout(60000);
    Start([](IMessageData& request) { return StringReply(request.ID(), "6#"); });

    EXPECT_EQ(Exchange(GetParam().bytes), TBytes{}) << "closed without a reply";
    EXPECT_TRUE(Received().empty());

    EXPECT_EQ(Hex(Exchange(kRequest21)), Hex(ReplyFrame(u"21#", "6#")))
        << "the next console is served";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListenerRejects,
    ::testing::Values(TBadRequest{"MinusOneIDLength", TBytes(8, 0xFF)},
                      TBadRequest{"NegativeIDLength", BE(static_cast<uint64_t>(-6), 8)},
                      TBadRequest{"HugeIDLength", BE(uint64_t{1} << 62, 8)},
                      TBadRequest{"NegativeDataLength", Join({BE(6, 8), Utf16LE(u"21#"),
                                                              BE(static_cast<uint64_t>(-37), 8)})},
                      TBadRequest{
                          "DataLengthBeyondTheMaximum",
                          Join({BE(6, 8), Utf16LE(u"21#"), BE(linkframe::kMaxFrameSize, 8)})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Listener, StopEndsServeWhileItWaitsForAConnectionOrForRequestBytes) {
    TIMCListener listener;
    listener.Listen("127.0.0.1:0");
    listener.SetRequestTimeout(60000);
    std::atomic<int> served = 0;
    std::thread thread([&] {
        listener.Serve([&](IMessageData&) {
            ++served;
            return StringReply(u"", "6#");
        });
    });
    // A console that sends half a request and then nothing.
    TSocket halfway = TSocket::Connect("127.0.0.1", listener.Port(), 5000);
    halfway.SendAll(BE(6, 8), 5000);
    listener.Stop();
    thread.join();
    EXPECT_EQ(served, 0);
}

TEST(Listener, AnEmptyHostListensOnLoopbackAndPortZeroPicksAFreePort) {
    TIMCListener listener;
    listener.Listen(":0");
    EXPECT_NE(listener.Port(), 0);
    EXPECT_TRUE(listener.Host() == "127.0.0.1" || listener.Host() == "::1") << listener.Host();
}

}  // namespace
