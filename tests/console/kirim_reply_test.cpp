// The room player's answers as the console applies them: each reply status
// and what it changes, against a scripted room player on loopback and the
// test suite's songs database (the statuses that redraw the playlist or the
// now-playing labels read it).
#include <gtest/gtest.h>

#include "link/tstreamstorage.h"
#include "player_rows.h"
#include "support/console_fixture.h"
#include "support/qt_printers.h"

namespace {

using Answer = testsupport::ScriptedRoomPlayer::Answer;

class KirimReplyTest : public testsupport::ConsoleFixture {
protected:
    PlayerRows rows{roomName()};

    // The room player answers text to the next command; the console sends one.
    void reply(const QString& text) {
        room.answerNext(Answer::Reply(text));
        console().Kirim(QStringLiteral("33#"));
        expectCleanedUp();
    }

    // Whatever the answer, the exchange leaves no connection and no reply fields.
    void expectCleanedUp() {
        EXPECT_EQ(console().LBMain->count(), 0);
        EXPECT_EQ(console().LBDetails->count(), 0);
        EXPECT_FALSE(console().IMCClient->IsConnected());
    }

    QString lastMemoLine() {
        return console().Memo1->toPlainText().split(QLatin1Char('\n')).last();
    }

    // A song playing at position of length, with the progress timer running.
    void playing(int song, int position, int length) {
        Tfplayer& c = console();
        c.onplay = song;
        c.ProgBar->setMaximum(length);
        c.ProgBar->setPositionRight(position);
        c.Timer1->start();
    }

    void expectNoFailure() {
        EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
        EXPECT_EQ(console().ErrorDialog(), nullptr);
        EXPECT_TRUE(console().isEnabled());
    }
};

TEST_F(KirimReplyTest, EachCommandIsOneRequestWithOnlyCommandSynchronous) {
    TStreamStorage expected;
    expected.WriteUTF8String(u"Command", "Synchronous");
    const std::vector<uint8_t>& bytes = expected.Storage().Bytes();
    const QByteArray expectedBytes(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));

    const QStringList commands = {"27#50", "0##", "0#(", "0#)", "GO#", "26#127.0.0.1"};
    for (const QString& command : commands) {
        console().Kirim(command);
        expectCleanedUp();
    }
    EXPECT_EQ(sent(), commands);
    EXPECT_EQ(room.connections(), commands.size()) << "one connection per command";
    for (const auto& request : room.requests()) {
        EXPECT_EQ(request.names, QStringList{"Command"}) << request.command;
        EXPECT_EQ(request.commandValue, "Synchronous");
        EXPECT_EQ(request.storage, expectedBytes) << request.command;
    }
    expectNoFailure();
}

TEST_F(KirimReplyTest, VolumeChangesTheVolumeAndNothingElse) {
    playing(PlayerRows::kNowPlaying.id, 30, 240);
    console().kondisi = "0";
    reply("9#75");
    EXPECT_EQ(console().VolPlayer, 75);
    EXPECT_EQ(skinWrites(), (QList<QPair<QString, QString>>{{"_root.isimusic.text", "75"}}));
    EXPECT_EQ(console().ProgBar->positionRight(), 30);
    EXPECT_EQ(console().ProgBar->maximum(), 240);
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(console().onplay, PlayerRows::kNowPlaying.id);
    EXPECT_EQ(console().kondisi, "0");
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_EQ(lastMemoLine(), "9#75");
    expectNoFailure();
}

// Statuses that write one skin variable from their first field, and statuses
// the console ignores.
TEST_F(KirimReplyTest, DisplayStatusesWriteTheirFieldUnchanged) {
    const struct {
        const char* reply;
        QList<QPair<QString, QString>> writes;
    } cases[] = {
        {"2#7", {{"_root.isimic.text", "7"}}},
        {"3#-2", {{"_root.isikey.text", "-2"}}},
        {"10#08", {{"_root.isimic.text", "08"}}},
        {"6#1", {}},
        {"12#5", {}},
        {"9x#1", {}},
        {" 9#1", {}},
        {"OK", {}},
    };
    for (const auto& c : cases) {
        clearRecords();
        console().VolPlayer = 33;
        reply(c.reply);
        EXPECT_EQ(skinWrites(), c.writes) << c.reply;
        EXPECT_EQ(console().VolPlayer, 33) << c.reply;
        EXPECT_EQ(lastMemoLine(), c.reply);
    }
    expectNoFailure();
}

TEST_F(KirimReplyTest, RoomSettingsSetVolumeMicrophoneAndCondition) {
    reply("1#60;5;1");
    EXPECT_EQ(console().VolPlayer, 60);
    EXPECT_EQ(skinVariable("_root.isimusic.text"), QString("60"));
    EXPECT_EQ(skinVariable("_root.isimic.text"), QString("5"));
    EXPECT_EQ(console().kondisi, "1");
    expectNoFailure();
}

TEST_F(KirimReplyTest, RoomSettingsWithoutTheConditionFailAfterShowingWhatCame) {
    console().Timer1->start();
    reply("1#60;5");
    EXPECT_EQ(skinVariable("_root.isimusic.text"), QString("60"));
    EXPECT_EQ(skinVariable("_root.isimic.text"), QString("5"));
    EXPECT_EQ(console().VolPlayer, 60);
    EXPECT_EQ(console().kondisi, "9") << "set before the details were read";
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Kirim ")) << logEntries()[0];
    EXPECT_GT(logEntries()[0].size(), QString("Kirim ").size()) << "with the failure's message";
    ASSERT_NE(console().ErrorDialog(), nullptr);
    EXPECT_TRUE(console().ErrorDialog()->isVisible());
    EXPECT_FALSE(console().isEnabled());
    EXPECT_FALSE(console().Timer1->isActive());
}

TEST_F(KirimReplyTest, AFieldThatIsNotANumberFailsTheExchange) {
    for (const char* text : {"9#", "9#abc", "7#12#x", "11#x;240;95;7"}) {
        reply(text);
    }
    const QStringList entries = logEntries();
    ASSERT_EQ(entries.size(), 4) << entries.join('\n');
    for (const QString& entry : entries) {
        EXPECT_TRUE(entry.startsWith("Kirim ")) << entry;
    }
    ASSERT_NE(console().ErrorDialog(), nullptr) << "one dialog, raised by each failure";
    EXPECT_TRUE(console().ErrorDialog()->isVisible());
}

TEST_F(KirimReplyTest, NewSongWithItsLengthRestartsTheBar) {
    rows.addEntry(1, PlayerRows::kNext, "K1");
    playing(PlayerRows::kNext.id, 100, 1000);
    console().bacaDurasiwmp = 1;
    reply("5#240#812");
    EXPECT_EQ(console().ProgBar->maximum(), 240);
    EXPECT_EQ(console().ProgBar->minimum(), 0);
    EXPECT_EQ(console().ProgBar->positionRight(), 0);
    EXPECT_EQ(console().SpinEdit1->value(), 240);
    // A song starts in its own key: no shift.
    EXPECT_EQ(skinVariable("_root.isikey.text"), QString("0"));
    EXPECT_EQ(console().bacaDurasiwmp, 0);
    EXPECT_EQ(console().onplay, 812);
    EXPECT_EQ(console().lvPlaylistnNew->count(), 1) << "the playlist was redrawn";
    expectNoFailure();
}

TEST_F(KirimReplyTest, NewSongWhileIdleIsNamedAndCounted) {
    // Nothing plays; the guest's first song starts.
    rows.addEntry(1, PlayerRows::kNext, "K1");
    console().onplay = 0;
    console().Timer1->stop();
    reply(QStringLiteral("5#240#%1").arg(PlayerRows::kNowPlaying.id));
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "HUJAN TERAKHIR - DUA MUSIM");
    EXPECT_TRUE(console().Timer1->isActive()) << "the bar follows the new song";
    EXPECT_EQ(console().ProgBar->positionRight(), 0);
    expectNoFailure();
}

TEST_F(KirimReplyTest, NewSongWithoutItsLengthAsksAgainOnTheNextTick) {
    console().onplay = PlayerRows::kNext.id;
    console().ProgBar->setMaximum(500);
    console().ProgBar->setPositionRight(100);
    reply("5#0#812");
    EXPECT_EQ(console().ProgBar->maximum(), 500);
    EXPECT_EQ(console().ProgBar->positionRight(), 100);
    EXPECT_EQ(console().bacaDurasiwmp, 1);
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(console().onplay, 812);
    EXPECT_FALSE(skinVariable("_root.isikey.text"));
    expectNoFailure();
}

TEST_F(KirimReplyTest, NoSongStopsTheProgress) {
    playing(PlayerRows::kNowPlaying.id, 100, 240);
    console().lblwmp->setText("01:40");
    console().spnDurWmp->setValue(100);
    reply("5#240#0");
    EXPECT_FALSE(console().Timer1->isActive());
    EXPECT_EQ(console().ProgBar->positionRight(), 0);
    EXPECT_EQ(console().ProgBar->maximum(), 240);
    EXPECT_EQ(console().lblwmp->text(), "00:00");
    EXPECT_EQ(console().spnDurWmp->value(), 0);
    EXPECT_EQ(console().onplay, 0);
    expectNoFailure();
}

TEST_F(KirimReplyTest, ProgressMovesTheBarBeforeItsNewLength) {
    const struct {
        int maximumBefore;
        const char* reply;
        int position;
        int maximum;
        const char* label;
    } cases[] = {
        {1000, "7#95#240", 95, 240, "01:35"},
        {100, "7#300#240", 100, 240, "01:40"},  // cut to the length known before
        {1000, "7#0#180", 0, 180, "00:00"},
    };
    for (const auto& c : cases) {
        console().onplay = PlayerRows::kNowPlaying.id;
        console().ProgBar->setMaximum(c.maximumBefore);
        console().ProgBar->setPositionRight(1);
        reply(c.reply);
        EXPECT_EQ(console().ProgBar->positionRight(), c.position) << c.reply;
        EXPECT_EQ(console().ProgBar->maximum(), c.maximum) << c.reply;
        EXPECT_EQ(console().spnDurWmp->value(), c.position) << c.reply;
        EXPECT_EQ(console().lblwmp->text(), c.label) << c.reply;
    }
    expectNoFailure();
}

TEST_F(KirimReplyTest, ResumeMovesTheBarRestartsTheTimerAndRefreshesTheLabels) {
    console().onplay = PlayerRows::kNowPlaying.id;
    console().ProgBar->setMaximum(240);
    console().bpause = true;
    console().Lblnowplay->setText("Pause");
    console().lblnextsong->setText("Pause");
    reply("8#95");
    EXPECT_EQ(console().ProgBar->positionRight(), 95);
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_FALSE(console().bpause);
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "No Song") << "the playlist is empty";
    expectNoFailure();
}

TEST_F(KirimReplyTest, PauseOnlyStopsTheRunningTimer) {
    playing(PlayerRows::kNowPlaying.id, 40, 240);
    console().bpause = true;
    console().Lblnowplay->setText("Pause");
    reply("8#95");
    EXPECT_FALSE(console().Timer1->isActive());
    EXPECT_EQ(console().ProgBar->positionRight(), 40);
    EXPECT_TRUE(console().bpause);
    EXPECT_EQ(console().Lblnowplay->text(), "Pause");
    expectNoFailure();
}

TEST_F(KirimReplyTest, FullPlaybackStateTakesSongLengthElapsedAndMicrophone) {
    rows.addEntry(1, PlayerRows::kNext, "K1");
    console().PlaylistView(0);
    console().bacaDurasiwmp = 1;
    reply("11#812;240;95;7");
    EXPECT_EQ(console().onplay, 812);
    EXPECT_EQ(console().ProgBar->maximum(), 240);
    EXPECT_EQ(console().ProgBar->positionRight(), 95);
    EXPECT_EQ(skinVariable("_root.isimic.text"), QString("7"));
    EXPECT_EQ(console().bacaDurasiwmp, 0);
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "HUJAN TERAKHIR - DUA MUSIM");
    expectNoFailure();
}

TEST_F(KirimReplyTest, NothingPlaysStopsTheProgressAndClearsTheLabelsUnlessPaused) {
    rows.addEntry(1, PlayerRows::kNext, "K1");
    for (const bool paused : {false, true}) {
        playing(PlayerRows::kNowPlaying.id, 50, 240);
        console().bacaDurasiwmp = 1;
        console().bpause = paused;
        console().Lblnowplay->setText("Pause");
        console().lblnextsong->setText("Pause");
        console().lvPlaylistnNew->clear();
        reply("0");
        EXPECT_EQ(console().lvPlaylistnNew->count(), 1) << "the playlist was redrawn";
        EXPECT_EQ(console().bacaDurasiwmp, 0);
        EXPECT_EQ(console().ProgBar->positionRight(), 0);
        EXPECT_EQ(console().spnDurWmp->value(), 0);
        EXPECT_EQ(console().lblwmp->text(), "00:00");
        EXPECT_FALSE(console().Timer1->isActive());
        if (paused) {
            // Only the redraw's own refresh of the song still playing.
            EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
            EXPECT_EQ(console().lblnextsong->text(), "HUJAN TERAKHIR - DUA MUSIM");
        } else {
            EXPECT_EQ(console().Lblnowplay->text(), "No Song");
            EXPECT_EQ(console().lblnextsong->text(), "No Song");
        }
    }
    expectNoFailure();
}

TEST_F(KirimReplyTest, RestartAsksForTheProgressOnTheNextTick) {
    for (const bool running : {false, true}) {
        console().bacaDurasiwmp = 0;
        if (running) {
            console().Timer1->start();
        }
        reply("4#");
        EXPECT_TRUE(console().Timer1->isActive());
        EXPECT_EQ(console().bacaDurasiwmp, 1);
        console().Timer1->stop();
    }
    expectNoFailure();
}

TEST_F(KirimReplyTest, AnEmptyAnswerMarksTheLinkLostAndTheNextCommandWaits) {
    room.answerNext(Answer::EmptyString());
    console().Kirim("27#50");
    expectCleanedUp();
    EXPECT_EQ(console().perintahSucces, 0);
    EXPECT_EQ(lastMemoLine(), "");
    EXPECT_TRUE(skinWrites().isEmpty());
    expectNoFailure();
    EXPECT_TRUE(console().AdvPanel1->isHidden()) << "only the next command waits";

    const int connections = room.connections();
    console().Kirim("27#60");
    EXPECT_EQ(room.connections(), connections) << "no connection while the link is lost";
    EXPECT_EQ(sent(), QStringList{"27#50"});
    EXPECT_FALSE(console().AdvPanel1->isHidden());
    EXPECT_FALSE(console().isEnabled());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_TRUE(console().TimerPreparation->isActive());
    EXPECT_TRUE(logEntries().isEmpty());
}

}  // namespace
