// The skin's player controls through the dispatcher: what reaches the room
// player for each command, the guards, and the dispatcher's matching rules.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "support/console_fixture.h"
#include "support/journal_capture.h"
#include "support/qt_printers.h"

namespace {

using Answer = testsupport::ScriptedRoomPlayer::Answer;

class PlayerCommandsTest : public testsupport::ConsoleFixture {};

TEST_F(PlayerCommandsTest, EachControlSendsItsCode) {
    const struct {
        const char* command;
        QStringList sent;
    } cases[] = {
        {"karaoke", {"30#1"}},     {"studio", {"30#2"}}, {"concert", {"30#3"}},
        {"pro", {"30#4"}},         {"dance", {"30#5"}},  {"volmicplus", {"32#1"}},
        {"volmicminus", {"32#2"}}, {"repeat", {"4#"}},   {"keyplus", {"13#"}},
        {"keyminus", {"11#"}},     {"next", {"2#a"}},    {"stop", {"2#a"}},
        {"vocalon", {"7#"}},       {"vocaloff", {"8#"}},
    };
    for (const auto& c : cases) {
        clearRecords();
        skinCommand(c.command);
        EXPECT_EQ(sent(), c.sent) << c.command;
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
}

TEST_F(PlayerCommandsTest, PrefixCommandsPassOnUpToFourCharactersTrimmed) {
    const struct {
        QString command;
        const char* sent;
    } cases[] = {
        {"VL", "27#"},         {"VL50", "27#50"},   {"VL 50", "27#50"},    {"VL12345", "27#1234"},
        {"VL  1234", "27#12"}, {"VL\t7\n", "27#7"}, {"VL x y", "27#x y"},  {"KY-1", "39#-1"},
        {"KY", "39#"},         {"MC80", "31#80"},   {"MC 100 ", "31#100"}, {"MCabc", "31#abc"},
    };
    console().VolPlayer = 40;
    for (const auto& c : cases) {
        clearRecords();
        skinCommand(c.command);
        EXPECT_EQ(sent(), QStringList{c.sent}) << c.command;
    }
    EXPECT_EQ(console().VolPlayer, 40) << "the slider's value does not step the volume";
    EXPECT_TRUE(logEntries().isEmpty());
}

TEST_F(PlayerCommandsTest, OnlyExactNamesMatch) {
    for (const QString command : {"Play", "play ", "Volplus", "volplus ", " next", "VOLPLUS",
                                  "vl50", "Vl50", "V", "", "volplusx", "nextt"}) {
        skinCommand(command);
    }
    EXPECT_TRUE(sent().isEmpty()) << sent().join(',');
    EXPECT_TRUE(logEntries().isEmpty());
}

TEST_F(PlayerCommandsTest, TheArgumentTextIsIgnored) {
    console().MainSkinNewFSCommand("karaoke", "5");
    console().MainSkinNewFSCommand("VL50", "90");
    EXPECT_EQ(sent(), QStringList({"30#1", "27#50"}));
}

// The step asks for a volume within 0 to 100; the console shows what the
// room player answers, and keeps what it showed when no answer comes.
TEST_F(PlayerCommandsTest, VolumeStepsByTenWithinItsGuards) {
    const struct {
        const char* command;
        int before;
        QStringList sent;
    } cases[] = {
        {"volplus", 0, {"27#10"}},    {"volplus", 91, {"27#100"}}, {"volplus", 92, {}},
        {"volminus", 5, {"27#0"}},    {"volminus", 1, {"27#0"}},   {"volminus", 0, {}},
        {"volminus", 100, {"27#90"}}, {"volplus", 85, {"27#95"}},
    };
    for (const auto& c : cases) {
        clearRecords();
        console().VolPlayer = c.before;
        room.answerCode("27", Answer::FailureMarker());
        skinCommand(c.command);
        EXPECT_EQ(sent(), c.sent) << c.command << " at " << c.before;
        EXPECT_EQ(console().VolPlayer, c.before)
            << c.command << " at " << c.before << ": no answer, no change";
        if (c.sent.isEmpty()) {
            continue;
        }
        clearRecords();
        const QString asked = c.sent[0].mid(3);
        room.answerCode("27", Answer::Reply("9#" + asked));
        skinCommand(c.command);
        EXPECT_EQ(console().VolPlayer, asked.toInt()) << c.command << " at " << c.before;
    }
}

TEST_F(PlayerCommandsTest, TheVolumeShownStaysWithinItsRange) {
    for (const char* reply : {"9#140", "1#-20;5;0"}) {
        room.answerNext(Answer::Reply(reply));
        console().Kirim("38#");
        EXPECT_GE(console().VolPlayer, 0) << reply;
        EXPECT_LE(console().VolPlayer, 100) << reply;
    }
}

TEST_F(PlayerCommandsTest, TheRoomPlayersAnswerToAVolumeStepWins) {
    room.answerCode("27", Answer::Reply("9#85"));
    console().VolPlayer = 80;
    skinCommand("volplus");
    EXPECT_EQ(sent(), QStringList{"27#90"});
    EXPECT_EQ(console().VolPlayer, 85);
    EXPECT_EQ(skinVariable("_root.isimusic.text"), QString("85"));
}

TEST_F(PlayerCommandsTest, PauseIsSentOnceUntilTheRoomPlayerResumes) {
    skinCommand("pause");
    skinCommand("pause");
    EXPECT_EQ(sent(), QStringList{"3#"});
    EXPECT_TRUE(console().bpause);
    EXPECT_EQ(console().Lblnowplay->text(), "Pause");
    EXPECT_EQ(console().lblnextsong->text(), "Pause");

    // The room player reports the resume; the next pause is sent again.
    room.answerNext(Answer::Reply("8#0"));
    console().Kirim("3#");
    EXPECT_FALSE(console().bpause);
    clearRecords();
    skinCommand("pause");
    EXPECT_EQ(sent(), QStringList{"3#"});
}

TEST_F(PlayerCommandsTest, PreviousNeedsFifteenSecondsOfTheSong) {
    console().onplay = 812;
    console().ProgBar->setMaximum(240);
    const struct {
        int position;
        QStringList sent;
    } cases[] = {{0, {}}, {14, {}}, {15, {"6#"}}, {200, {"6#"}}};
    for (const auto& c : cases) {
        clearRecords();
        console().ProgBar->setPositionRight(c.position);
        ASSERT_EQ(console().ProgBar->positionRight(), c.position);
        skinCommand("previous");
        EXPECT_EQ(sent(), c.sent) << c.position;
    }
}

TEST_F(PlayerCommandsTest, NextAndStopSkipAndClearTheSongLabels) {
    for (const char* command : {"next", "stop"}) {
        console().pilihplay = 0;
        console().Lblnowplay->setText("LAGU MALAM - SENJA BAND");
        console().lblnextsong->setText("HUJAN TERAKHIR - DUA MUSIM");
        skinCommand(command);
        EXPECT_EQ(console().pilihplay, 1) << command;
        EXPECT_EQ(console().Lblnowplay->text(), "No Song") << command;
        EXPECT_EQ(console().lblnextsong->text(), "No Song") << command;
    }
}

// The key display the room player answers with shows where the vocal guide's
// variable is written: after the send for "vocalon", before it for "vocaloff".
TEST_F(PlayerCommandsTest, TheVocalGuideVariableFollowsAndPrecedesItsSend) {
    room.answerCode("7", Answer::Reply("3#1"));
    room.answerCode("8", Answer::Reply("3#2"));
    skinCommand("vocalon");
    skinCommand("vocaloff");
    EXPECT_EQ(skinWrites(), (QList<QPair<QString, QString>>{{"_root.isikey.text", "1"},
                                                            {"_root.nomer_vocal.text", "1"},
                                                            {"_root.nomer_vocal.text", "0"},
                                                            {"_root.isikey.text", "2"}}));
}

TEST_F(PlayerCommandsTest, WhileTheLinkIsLostAControlWaitsInsteadOfSending) {
    console().perintahSucces = 0;
    skinCommand("karaoke");
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(room.connections(), 0);
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_FALSE(console().isEnabled());
}

TEST_F(PlayerCommandsTest, AFailedSendDoesNotStopTheRowOrReachTheDispatcher) {
    console().Sys_Port->setValue(testsupport::ScriptedRoomPlayer::closedPort());
    console().bpause = false;
    skinCommand("pause");
    EXPECT_TRUE(console().bpause) << "the row goes on after Kirim's own failure handling";
    EXPECT_EQ(console().Lblnowplay->text(), "Pause");
    const QStringList entries = logEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].startsWith("Kirim ")) << entries[0];
}

// The table itself, with rows made for the test.
TEST_F(PlayerCommandsTest, AFailingRowIsLoggedUnlessItIsSilent) {
    int silentSteps = 0;
    console().AddCommand("breaks", [] { throw std::runtime_error("row failed"); });
    console().AddCommand(
        "breaksquietly",
        [&] {
            ++silentSteps;
            throw std::runtime_error("quiet failure");
        },
        Tfplayer::CommandKind::Silent);
    console().AddPrefixCommand("ZZ", [](const QString& value) {
        throw std::runtime_error(("prefix " + value).toStdString());
    });
    testsupport::JournalCapture journal;
    skinCommand("breaks");
    skinCommand("breaksquietly");
    skinCommand("ZZ 12 ");
    EXPECT_EQ(silentSteps, 1);
    EXPECT_EQ(journal.warnings(), QStringList{"lyrabox: a quiet step failed: quiet failure"})
        << "the venue's journal hears of the quiet one";
    EXPECT_EQ(logEntries(), QStringList({"FSCommand row failed", "FSCommand prefix 12"}));
}

TEST_F(PlayerCommandsTest, ARowCannotBeRegisteredTwiceOrHideBehindAPrefix) {
    EXPECT_THROW(console().AddCommand("volplus", [] {}), std::logic_error);
    EXPECT_THROW(console().AddCommand("VLX", [] {}), std::logic_error);
    EXPECT_THROW(console().AddPrefixCommand("VL", [](const QString&) {}), std::logic_error);
    EXPECT_THROW(console().AddPrefixCommand("vo", [](const QString&) {}), std::logic_error)
        << "\"volplus\" would hide behind it";
    EXPECT_THROW(console().AddPrefixCommand("V", [](const QString&) {}), std::logic_error);
    skinCommand("volplus");
    EXPECT_EQ(sent().size(), 1) << "the first row stays";
}

TEST_F(PlayerCommandsTest, EveryPlayerControlHasARow) {
    for (const char* command :
         {"volplus", "volminus", "karaoke", "studio", "concert", "pro", "dance", "volmicplus",
          "volmicminus", "next", "stop", "pause", "repeat", "previous", "keyplus", "keyminus",
          "vocalon", "vocaloff"}) {
        EXPECT_TRUE(console().HasCommand(command)) << command;
    }
}

}  // namespace
