// The test support itself: the scripted room player answers as told and
// records what reached it, and the console fixture talks to it.
#include <gtest/gtest.h>

#include "link/timclient.h"
#include "support/console_fixture.h"
#include "support/qt_printers.h"
#include "support/roomplayer_script.h"

namespace {

using testsupport::ScriptedRoomPlayer;
using Answer = ScriptedRoomPlayer::Answer;

std::shared_ptr<IMessageData> Exchange(TIMCClient& client, const ScriptedRoomPlayer& room,
                                       const std::u16string& command) {
    client.SetServerAddress(room.host().toStdString() + ":" + std::to_string(room.port()));
    auto request = TMessageData::Create();
    request->SetID(command);
    request->Data().WriteUTF8String(u"Command", "Synchronous");
    return client.ExecuteRequest(*request, 5000);
}

TEST(ScriptedRoomPlayerTest, AnswersByNextThenCommandThenCodeThenDefault) {
    ScriptedRoomPlayer room;
    room.answerCode("27", Answer::Reply("9#40"));
    room.answerCommand("27#50", Answer::Reply("9#50"));
    room.answerNext(Answer::Reply("first"));
    TIMCClient client;
    const struct {
        std::u16string command;
        std::string reply;
    } cases[] = {{u"27#50", "first"}, {u"27#50", "9#50"}, {u"27#10", "9#40"}, {u"4#", "6"}};
    for (const auto& c : cases) {
        const auto reply = Exchange(client, room, c.command);
        ASSERT_TRUE(client.AnswerValid());
        EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), c.reply);
    }
    EXPECT_EQ(room.received(), QStringList({"27#50", "27#50", "27#10", "4#"}));
    ASSERT_EQ(room.requests().size(), 4);
    EXPECT_EQ(room.requests()[0].names, QStringList{"Command"});
    EXPECT_EQ(room.requests()[0].commandValue, "Synchronous");
}

TEST(ScriptedRoomPlayerTest, MisbehavesAsScripted) {
    ScriptedRoomPlayer room;
    TIMCClient client;
    client.SetExecuteTimeout(200);
    const struct {
        Answer answer;
        bool valid;
    } cases[] = {{Answer::EmptyString(), true},
                 {Answer::FailureMarker(), false},
                 {Answer::Close(), false},
                 {Answer::NoAnswer(), false}};
    for (const auto& c : cases) {
        room.answerNext(c.answer);
        const auto reply = Exchange(client, room, u"33#");
        EXPECT_EQ(client.AnswerValid(), c.valid) << static_cast<int>(c.answer.kind);
        if (c.valid) {
            EXPECT_FALSE(reply->Data().Exists(u"String"));
        }
    }
    EXPECT_EQ(room.received().size(), 4);
}

}  // namespace

namespace {

class ConsoleFixtureTest : public testsupport::ConsoleFixture {};

TEST_F(ConsoleFixtureTest, TheConsoleTalksToTheScriptedRoomPlayer) {
    room.answerCommand("volplus", Answer::Reply("unused"));
    room.answerCode("27", Answer::Reply("9#75"));
    console().Kirim("27#40");
    EXPECT_EQ(sent(), QStringList{"27#40"});
    EXPECT_EQ(console().VolPlayer, 75);
    EXPECT_EQ(skinVariable("_root.isimusic.text"), QString("75"));
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

}  // namespace
