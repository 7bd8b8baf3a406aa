// The playback progress: the console's own count between the room player's
// replies, the seek when the guest lets the bar go, and the now-playing labels
// read from the songs database.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "app/adoconnection.h"
#include "player_rows.h"
#include "support/console_fixture.h"
#include "support/qt_printers.h"

namespace {

using Answer = testsupport::ScriptedRoomPlayer::Answer;

TEST(ElapsedTextTest, MinutesAndSecondsWithAtLeastTwoDigitsEach) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {{0, "00:00"},  {5, "00:05"},   {59, "00:59"},   {60, "01:00"},   {65, "01:05"},
                 {75, "01:15"}, {599, "09:59"}, {3600, "60:00"}, {5999, "99:59"}, {6000, "100:00"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Tfplayer::ElapsedText(c.seconds), c.text) << c.seconds;
    }
}

class ProgressTest : public testsupport::ConsoleFixture {
protected:
    PlayerRows rows{roomName()};

    void playing(int song, int position, int length) {
        console().onplay = song;
        console().ProgBar->setMaximum(length);
        console().ProgBar->setPositionRight(position);
    }
    int position() { return console().ProgBar->positionRight(); }
    void tick() { console().Timer1Timer(); }

    // A songs connection that cannot be opened: the database is out of reach.
    TAdoConnection unreachable{QStringLiteral("unreachable")};
    void cutTheDatabase(TAdoCommand& command) {
        unreachable.SetConnectionStringSource([] {
            return QStringLiteral(
                       "Driver={MySQL ODBC 5.1 Driver};Server=127.0.0.1:%1;Database=none;"
                       "User=none;Password=none;Option=3;")
                .arg(testsupport::ScriptedRoomPlayer::closedPort());
        });
        command.SetConnection(&unreachable);
    }
};

TEST_F(ProgressTest, EachTickCountsOneSecond) {
    playing(PlayerRows::kNowPlaying.id, 64, 240);
    tick();
    EXPECT_EQ(position(), 65);
    EXPECT_EQ(console().lblwmp->text(), "01:05");
    EXPECT_EQ(console().spnDurWmp->value(), 65);
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(ProgressTest, AtTheSongsEndTheCountStartsOverAndTheNextTickAsks) {
    rows.addEntry(1, PlayerRows::kNext, "K1");
    playing(PlayerRows::kNowPlaying.id, 238, 240);
    console().Lblnowplay->setText("LAGU MALAM - SENJA BAND");
    tick();
    EXPECT_EQ(position(), 239);
    EXPECT_EQ(console().lblwmp->text(), "03:59");
    tick();
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(console().lblwmp->text(), "00:00");
    EXPECT_EQ(console().spnDurWmp->value(), 0);
    EXPECT_EQ(console().Lblnowplay->text(), "No Song");
    EXPECT_EQ(console().lblnextsong->text(), "No Song");
    EXPECT_EQ(console().bacaDurasiwmp, 1);
    EXPECT_TRUE(sent().isEmpty());

    // The room player tells the new song's length and position.
    room.answerCode("33", Answer::Reply("7#10#200"));
    tick();
    EXPECT_EQ(sent(), QStringList{"33#"});
    EXPECT_EQ(platform.sleeps, QList<int>{150});
    EXPECT_EQ(console().lvPlaylistnNew->count(), 1) << "the playlist was redrawn";
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "HUJAN TERAKHIR - DUA MUSIM");
    EXPECT_EQ(position(), 11) << "the reply's position, one second on";
    EXPECT_EQ(console().ProgBar->maximum(), 200);
    EXPECT_EQ(console().lblwmp->text(), "00:11");
    EXPECT_EQ(console().bacaDurasiwmp, 0) << "a progress reply with a length ends the questions";
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
}

TEST_F(ProgressTest, WithNothingPlayingTheBarStaysAtZeroUnlessPaused) {
    for (const bool paused : {false, true}) {
        playing(0, 0, 240);
        console().bpause = paused;
        for (int i = 0; i < 3; ++i) {
            tick();
        }
        EXPECT_EQ(position(), paused ? 3 : 0) << paused;
        EXPECT_EQ(console().lblwmp->text(), paused ? "00:03" : "00:00") << paused;
        EXPECT_EQ(console().spnDurWmp->value(), paused ? 3 : 0) << paused;
        console().bpause = false;
        console().ProgBar->setPositionRight(0);
    }
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(ProgressTest, TheBarSnapsBackWheneverItMovesWithNothingPlaying) {
    console().lblwmp->setText("01:00");
    console().ProgBar->setPositionRight(60);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(console().lblwmp->text(), "00:00");
    EXPECT_EQ(console().spnDurWmp->value(), 0);

    playing(PlayerRows::kNowPlaying.id, 60, 240);
    EXPECT_EQ(position(), 60) << "a playing song's bar moves freely";
}

TEST_F(ProgressTest, ReleasingTheBarSeeksButNeverIntoTheLastFiveSeconds) {
    const struct {
        int position;
        const char* sent;
        int after;
    } cases[] = {{239, "34#235", 235},
                 {240, "34#235", 235},
                 {235, "34#235", 235},
                 {100, "34#100", 100},
                 {0, "34#0", 0}};
    for (const auto& c : cases) {
        clearRecords();
        playing(812, c.position, 240);
        console().ProgBarMouseUp();
        EXPECT_EQ(sent(), QStringList{c.sent}) << c.position;
        EXPECT_EQ(position(), c.after) << c.position;
    }
}

TEST_F(ProgressTest, ReleasingTheBarWithNothingPlayingSendsNothing) {
    playing(0, 0, 240);
    console().bpause = true;  // so that the bar may stand elsewhere than 0
    console().ProgBar->setPositionRight(100);
    console().lblwmp->setText("01:40");
    console().spnDurWmp->setValue(100);
    console().ProgBarMouseUp();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(console().lblwmp->text(), "00:00");
    EXPECT_EQ(console().spnDurWmp->value(), 0);
}

TEST_F(ProgressTest, AFingerDraggingTheBarToItsEndSeeksFiveSecondsBefore) {
    console().show();
    playing(812, 20, 240);
    RangeSlider* bar = console().ProgBar;
    const QPoint from = bar->rightThumbCenter();
    const QPoint to(bar->width() - 1, from.y());
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(bar, to);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(sent(), QStringList{"34#235"});
    EXPECT_EQ(position(), 235);
}

TEST_F(ProgressTest, TheProgressTimerDrivesTheTick) {
    EXPECT_EQ(console().Timer1->interval(), 1000);
    playing(PlayerRows::kNowPlaying.id, 10, 240);
    // Due at once: the event loop runs the tick without waiting a second.
    console().Timer1->setInterval(0);
    console().Timer1->start();
    QCoreApplication::processEvents();
    console().Timer1->stop();
    console().Timer1->setInterval(1000);
    EXPECT_GT(position(), 10);
}

TEST_F(ProgressTest, AFailingTickIsLoggedAndTheTimerRunsOn) {
    cutTheDatabase(console().ADOplaylistnew);
    playing(PlayerRows::kNowPlaying.id, 50, 240);
    console().bacaDurasiwmp = 1;
    console().Timer1->start();
    tick();
    console().ADOplaylistnew.SetConnection(&module->AdoConn);
    EXPECT_EQ(sent(), QStringList{"33#"});
    const QStringList entries = logEntries();
    ASSERT_EQ(entries.size(), 1) << entries.join('\n');
    EXPECT_TRUE(entries[0].startsWith("Timer1Timer ")) << entries[0];
    EXPECT_GT(entries[0].size(), QString("Timer1Timer ").size());
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(position(), 50) << "the tick ended at its failure";
}

// ---- Now playing and next song ------------------------------------------------

TEST_F(ProgressTest, NowPlayingComesFromTheCatalogueAndNextFromThePlaylistsFirstRow) {
    rows.addEntry(1, PlayerRows::kNext, "K1");
    rows.addEntry(2, PlayerRows::kLong, "K2");
    console().PlaylistView(0);
    console().OnTextPlay(PlayerRows::kNowPlaying.id);
    EXPECT_EQ(console().SpCall.StatementText(), "CALL SelectLaguView(812)");
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "HUJAN TERAKHIR - DUA MUSIM");

    // The first row shows the playlist's shortened texts.
    rows.clearPlaylist();
    rows.addEntry(1, PlayerRows::kLong, "K2");
    console().PlaylistView(0);
    console().OnTextPlay(PlayerRows::kNext.id);
    EXPECT_EQ(console().Lblnowplay->text(), "HUJAN TERAKHIR - DUA MUSIM");
    EXPECT_EQ(console().lblnextsong->text(),
              QString("SEPANJANG JALA") + QChar(0x2026) + " - ORKES MELAYU N" + QChar(0x2026))
        << console().lblnextsong->text();
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
}

TEST_F(ProgressTest, WithAnEmptyPlaylistTheNextSongIsNoSong) {
    console().PlaylistView(0);
    console().lblnextsong->setText("HUJAN TERAKHIR - DUA MUSIM");
    console().OnTextPlay(PlayerRows::kNowPlaying.id);
    EXPECT_EQ(console().Lblnowplay->text(), "LAGU MALAM - SENJA BAND");
    EXPECT_EQ(console().lblnextsong->text(), "No Song");
}

TEST_F(ProgressTest, NoSongNeedsNoDatabase) {
    cutTheDatabase(console().SpCall);
    console().Lblnowplay->setText("LAGU MALAM - SENJA BAND");
    console().lblnextsong->setText("HUJAN TERAKHIR - DUA MUSIM");
    console().OnTextPlay(0);
    console().SpCall.SetConnection(&module->AdoConn);
    EXPECT_EQ(console().Lblnowplay->text(), "No Song");
    EXPECT_EQ(console().lblnextsong->text(), "No Song");
    EXPECT_TRUE(logEntries().isEmpty());
}

TEST_F(ProgressTest, ANowPlayingFailureIsLoggedAndTheLabelsStay) {
    console().Lblnowplay->setText("Pause");
    console().lblnextsong->setText("Pause");
    console().OnTextPlay(999999);  // no such song
    cutTheDatabase(console().SpCall);
    console().OnTextPlay(PlayerRows::kNowPlaying.id);
    console().SpCall.SetConnection(&module->AdoConn);
    const QStringList entries = logEntries();
    ASSERT_EQ(entries.size(), 2) << entries.join('\n');
    for (const QString& entry : entries) {
        EXPECT_TRUE(entry.startsWith("OntextPlay ")) << entry;
        EXPECT_GT(entry.size(), QString("OntextPlay ").size()) << entry;
    }
    EXPECT_EQ(console().Lblnowplay->text(), "Pause");
    EXPECT_EQ(console().lblnextsong->text(), "Pause");
}

}  // namespace
