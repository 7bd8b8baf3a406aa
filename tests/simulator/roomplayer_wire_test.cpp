// The simulator served on 127.0.0.1 in a thread of the test and reached by the
// console's own message client: each scripted misbehaviour lands on the
// console as the matching failure of the exchange.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "link/frameformat.h"
#include "link/timclient.h"
#include "loopback_peer.h"
#include "manualclock.h"
#include "simulator/roomplayerserver.h"
#include "simulator/songqueue.h"

namespace {

class SimulatorOnLoopback : public ::testing::Test {
protected:
    void Serve(const std::string& scriptText) {
        player = std::make_unique<TRoomPlayer>(room, TSimScript::Parse(scriptText).rules);
        listener.Listen("127.0.0.1:0");
        thread = std::thread([this] { TRoomPlayerServer(listener, *player, log).Run(); });
        client.SetServerAddress(listener.Address());
    }

    void TearDown() override {
        client.DisconnectClient();
        listener.Stop();
        if (thread.joinable()) {
            thread.join();
        }
    }

    // As the console sends: connect, one request, read "String", disconnect.
    std::string Kirim(const std::string& command) {
        client.ConnectClient(5000);
        auto reply = client.ExecuteConnectedRequest(
            *CommandRequest(std::u16string(command.begin(), command.end())));
        client.DisconnectClient();
        return client.AnswerValid() ? reply->Data().ReadUTF8String(u"String") : "(invalid)";
    }

    TSongQueue songs;
    TManualClock clock;
    TRoomState room{songs, clock};
    std::unique_ptr<TRoomPlayer> player;
    TIMCListener listener;
    std::ostringstream log;
    std::thread thread;
    TIMCClient client;
};

TEST_F(SimulatorOnLoopback, AnswersTheRoomsStateAndLogsOneLinePerRequest) {
    Serve("");
    EXPECT_EQ(Kirim("27#75"), "9#75");
    EXPECT_EQ(Kirim("GO#"), "1#75;5;0");
    EXPECT_EQ(Kirim("1#812"), "5#" + std::to_string(songs.Describe(812).lengthSeconds) + "#812");
    EXPECT_EQ(Kirim("no-such-code#"), "(invalid)");
    EXPECT_EQ(client.ErrorDesc(), "Unhandled error while executing request on the server");
    listener.Stop();
    thread.join();
    EXPECT_EQ(log.str(), "27#75 -> 9#75\nGO# -> 1#75;5;0\n1#812 -> 5#" +
                             std::to_string(songs.Describe(812).lengthSeconds) +
                             "#812\nno-such-code# -> failure marker\n");
}

struct TMisbehaviour {
    const char* name;
    const char* rule;
    uint32_t executeTimeout;
    const char* reply;        // the "String" read, or "(invalid)"
    const char* description;  // start of ErrorDesc when invalid
};

void PrintTo(const TMisbehaviour& row, std::ostream* out) {
    *out << "\"" << row.name << "\"";
}

class SimulatorMisbehaves : public SimulatorOnLoopback,
                            public ::testing::WithParamInterface<TMisbehaviour> {};

TEST_P(SimulatorMisbehaves, AndTheConsolesClientSeesIt) {
    const TMisbehaviour& row = GetParam();
    Serve(std::string("on 21# ") + row.rule + "\n");
    client.SetExecuteTimeout(row.executeTimeout);
    EXPECT_EQ(Kirim("21#"), row.reply);
    if (std::string(row.reply) == "(invalid)") {
        EXPECT_EQ(client.ErrorDesc().rfind(row.description, 0), 0u) << client.ErrorDesc();
    }
    client.SetExecuteTimeout(5000);
    EXPECT_EQ(Kirim("38#"), "1#60;5;0") << "the next command is served normally";
}

INSTANTIATE_TEST_SUITE_P(
    Script, SimulatorMisbehaves,
    ::testing::Values(
        TMisbehaviour{"FixedReply", "reply 5#240#812", 5000, "5#240#812", ""},
        TMisbehaviour{"EmptyString", "empty", 5000, "", ""},
        TMisbehaviour{"Failure", "failure", 5000, "(invalid)",
                      "Unhandled error while executing request on the server"},
        TMisbehaviour{"Silent", "silent", 200, "(invalid)", "Read timed out"},
        TMisbehaviour{"Close", "close", 5000, "(invalid)", "Connection closed"},
        TMisbehaviour{"CloseAfterTheID", "close-after 14", 5000, "(invalid)", "Connection closed"},
        TMisbehaviour{"AbsurdIDLength", "id-length 4611686018427387904", 30000, "(invalid)",
                      "Invalid frame"},
        TMisbehaviour{"NegativeDataLength", "data-length -5", 30000, "(invalid)", "Invalid frame"},
        TMisbehaviour{"Trickle", "trickle 2 6#", 1000, "6#", ""},
        TMisbehaviour{"Delay", "delay 50", 1000, "6#", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorOnLoopback, GarbageNeverMakesAValidAnswer) {
    Serve("on 21# garbage 64\n");
    client.SetExecuteTimeout(2000);
    EXPECT_EQ(Kirim("21#"), "(invalid)");
}

}  // namespace
