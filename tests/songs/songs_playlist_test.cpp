// The room playlist: reloading, removing, moving, putting first and playing
// entries, with the statements as the server received them and the database
// state they leave.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <functional>

#include "songs_fixture.h"
#include "support/qt_printers.h"

namespace {

using songstest::SongsFixture;

class PlaylistTest : public SongsFixture {
protected:
    // Entries K1, K2, ... at the given positions; returns their songs' ids.
    QList<int> seed(const QList<int>& positions) {
        songs.exec("DELETE FROM playlist WHERE namaroom = " + quotedRoom());
        QList<std::pair<QString, int>> entries;
        for (int i = 0; i < positions.size(); ++i) {
            entries.append({QStringLiteral("K%1").arg(i + 1), positions[i]});
        }
        return seedPlaylist(entries);
    }

    // Selects a playlist row and forgets what was sent and run so far.
    void select(int row) {
        console().lvPlaylistnNew->setSelectedIndex(-1);
        console().lvPlaylistnNew->setSelectedIndex(row);
        clearRecords();
        songs.exec("TRUNCATE TABLE mysql.general_log");
    }

    // The statements that change or probe the playlist, without the reloads.
    QStringList playlistStatements() {
        QStringList result;
        for (const QString& statement : statements()) {
            if (statement.startsWith("CALL DeleteLaguPlaylist") ||
                statement.startsWith("CALL GantiUrutanPlaylist") ||
                statement.startsWith("CALL SavePlaylist") || statement.startsWith("UPDATE ") ||
                statement.startsWith("select ")) {
                result << statement;
            }
        }
        return result;
    }
};

TEST_F(PlaylistTest, TheReloadShowsEachEntryCutTo15WithItsIdsAndKeyAndSelectsTheAskedRow) {
    const int song = addSong("ABCDEFGHIJKLMNOPQRST", "FIFTEEN CHARS 1");
    songs.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) VALUES "
                              "(4, %1, 'AB12CD', %2), (9, %1, 'XY34ZW', %2)")
                   .arg(quotedRoom())
                   .arg(song));
    const struct {
        int urutan;
        int selected;
    } cases[] = {{1, 1}, {0, 0}, {7, 0}, {-1, 0}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.urutan);
        console().lvPlaylistnNew->setSelectedIndex(-1);
        console().PlaylistView(k.urutan);
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.selected);
    }
    ASSERT_EQ(console().lvPlaylistnNew->count(), 2);
    const SmoothListItem first = console().lvPlaylistnNew->item(0);
    EXPECT_EQ(first.notes,
              "<html>ABCDEFGHIJKLMN" + QString(QChar(0x2026)) + " - FIFTEEN CHARS 1</html>");
    EXPECT_EQ(first.tag, 4);
    EXPECT_EQ(first.hint, QString::number(song));
    EXPECT_EQ(first.caption, "AB12CD");
    EXPECT_EQ(console().lvPlaylistnNew->item(1).tag, 9);
    EXPECT_EQ(console().lblCountPlaylist->text(), "2");
    EXPECT_EQ(statements("CALL ListPlayList").last(),
              recorded({"CALL ListPlayList(" + quotedRoom() + ");"})[0]);
}

TEST_F(PlaylistTest, DeleteRemovesTheSelectedEntryAndSelectsTheRowAbove) {
    const struct {
        int entries;
        int row;
        QStringList keys;
        int selected;
        const char* count;
    } cases[] = {
        {3, 0, {"K2", "K3"}, 0, "2"},
        {3, 2, {"K1", "K2"}, 1, "2"},
        {1, 0, {}, -1, "0"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.row);
        QList<int> positions;
        for (int i = 1; i <= k.entries; ++i) {
            positions << i;
        }
        seed(positions);
        select(k.row);
        console().Lblnowplay->setText("STALE");

        skinCommand("delete");

        EXPECT_EQ(playlistStatements(), recorded({QStringLiteral("CALL DeleteLaguPlaylist(%1,%2);")
                                                      .arg(k.row + 1)
                                                      .arg(quotedRoom())}));
        EXPECT_EQ(shownKeys(), k.keys);
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.selected);
        EXPECT_EQ(console().lblCountPlaylist->text(), k.count);
        EXPECT_EQ(console().onPlaylistSelect, k.row + 1);
        EXPECT_EQ(sent(), QStringList({"21#"}));
        if (k.entries == 1) {
            EXPECT_EQ(console().Lblnowplay->text(), "No Song") << "the now-playing texts refresh";
        }
    }
}

TEST_F(PlaylistTest, NothingToActOnChangesNothingAndSendsNothing) {
    const struct {
        const char* command;
        int row;
    } cases[] = {
        {"delete", -1}, {"up", -1},  {"down", -1},    {"priority", -1},
        {"up", 0},      {"down", 2}, {"priority", 0},
    };
    seed({1, 2, 3});
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.command) + " on row " + std::to_string(k.row));
        select(k.row);

        skinCommand(k.command);

        EXPECT_TRUE(playlistStatements().isEmpty())
            << playlistStatements().join('\n').toStdString();
        EXPECT_EQ(positions(), QStringList({"K1=1", "K2=2", "K3=3"}));
        EXPECT_EQ(shownKeys(), QStringList({"K1", "K2", "K3"}));
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.row);
        EXPECT_TRUE(sent().isEmpty());
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(PlaylistTest, UpAndDownSwapWithTheNeighbourAndFollowTheMovedEntry) {
    const struct {
        const char* command;
        int row;
        const char* call;  // arguments before the room
        QStringList keys;
        int selected;
    } cases[] = {
        {"up", 1, "2,1", {"K2", "K1", "K3"}, 0},
        {"down", 1, "2,3", {"K1", "K3", "K2"}, 2},
        {"up", 2, "3,2", {"K1", "K3", "K2"}, 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.command) + " on row " + std::to_string(k.row));
        seed({1, 2, 3});
        select(k.row);

        skinCommand(k.command);

        EXPECT_EQ(
            playlistStatements(),
            recorded(
                {QStringLiteral("CALL GantiUrutanPlaylist(%1,%2);").arg(k.call, quotedRoom())}));
        EXPECT_EQ(shownKeys(), k.keys);
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.selected);
        EXPECT_EQ(sent(), QStringList({"21#"}));
    }
}

TEST_F(PlaylistTest, PriorityPutsTheEntryFirstAndRenumbersTheOthersInTheirOrder) {
    seed({3, 4, 5, 6, 7});
    select(2);

    skinCommand("priority");

    const QString r = quotedRoom();
    const auto probe = [&](const char* key) {
        return "select  ukey from playlist  WHERE  namaroom=" + r + " and ukey='" + key +
               "' and not(idplaylist=0) order by idplaylist asc;";
    };
    const auto renumber = [&](int position, const char* key) {
        return QStringLiteral("UPDATE playlist SET idplaylist=%1 WHERE  namaroom=%2 and ukey='%3';")
            .arg(position)
            .arg(r, key);
    };
    EXPECT_EQ(
        playlistStatements(),
        recorded({"UPDATE playlist SET idplaylist=1000 WHERE  namaroom=" + r + " and idplaylist=0;",
                  "UPDATE playlist SET idplaylist=0 WHERE  namaroom=" + r + " and ukey='K3';",
                  probe("K1"), renumber(10, "K1"), probe("K2"), renumber(11, "K2"), probe("K3"),
                  probe("K4"), renumber(13, "K4"), probe("K5"), renumber(14, "K5")}));
    EXPECT_EQ(positions(), QStringList({"K1=10", "K2=11", "K3=0", "K4=13", "K5=14"}));
    EXPECT_EQ(shownKeys(), QStringList({"K3", "K1", "K2", "K4", "K5"}));
    EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), 0);
    EXPECT_EQ(sent(), QStringList({"21#"}));

    // Again, on the row showing K4: the earlier first entry leaves 0 for 1000,
    // then takes the number of its row like the rest.
    select(3);
    skinCommand("priority");

    EXPECT_EQ(
        playlistStatements().mid(0, 2),
        recorded({"UPDATE playlist SET idplaylist=1000 WHERE  namaroom=" + r + " and idplaylist=0;",
                  "UPDATE playlist SET idplaylist=0 WHERE  namaroom=" + r + " and ukey='K4';"}));
    EXPECT_TRUE(playlistStatements().contains(recorded({renumber(10, "K3")})[0]));
    EXPECT_EQ(positions(), QStringList({"K1=11", "K2=12", "K3=10", "K4=0", "K5=14"}));
    EXPECT_EQ(shownKeys(), QStringList({"K4", "K3", "K1", "K2", "K5"}));
    EXPECT_EQ(sent(), QStringList({"21#"}));
}

TEST_F(PlaylistTest, ThePlayNowButtonPlaysTheEntryThenRemovesItAndSelectsTheRowInItsPlace) {
    const struct {
        int row;
        QStringList keys;
        int selected;
    } cases[] = {
        {2, {"K1", "K2"}, 0},  // the last row: nothing moves up, the first is selected
        {1, {"K1", "K3"}, 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.row);
        const QList<int> songIds = seed({1, 2, 3});
        select(0);
        platform.sleeps.clear();

        emit console().lvPlaylistnNew->graphicClicked(k.row);

        EXPECT_EQ(sent(), QStringList({"37#" + QString::number(songIds[k.row])}));
        EXPECT_EQ(platform.sleeps, QList<int>({100}));
        EXPECT_EQ(playlistStatements(), recorded({QStringLiteral("CALL DeleteLaguPlaylist(%1,%2);")
                                                      .arg(k.row + 1)
                                                      .arg(quotedRoom())}));
        EXPECT_EQ(shownKeys(), k.keys);
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.selected);
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(PlaylistTest, PlayTakesTheTappedPlaylistEntryOutOfThePlaylistAndPlaysIt) {
    const QList<int> songIds = seed({1, 2, 3});
    select(1);
    emit console().lvPlaylistnNew->itemClicked(1);
    EXPECT_EQ(console().pilihplay, 1);
    platform.sleeps.clear();

    skinCommand("play");

    EXPECT_EQ(playlistStatements(), recorded({"CALL DeleteLaguPlaylist(2," + quotedRoom() + ");"}));
    EXPECT_EQ(platform.sleeps, QList<int>({100}));
    EXPECT_EQ(sent(), QStringList({"37#" + QString::number(songIds[1])}));
    EXPECT_EQ(shownKeys(), QStringList({"K1", "K3"}));
    EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), 0);
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

// A song leaves the playlist only when the room player took it: with the
// room player away (refused, the link already lost, no answer in time, or
// its failure marker) the entry stays, and no other song plays instead.
TEST_F(PlaylistTest, PlayAndPlayNowKeepTheEntryWhenTheRoomPlayerDoesNotTakeIt) {
    using Answer = testsupport::ScriptedRoomPlayer::Answer;
    Tfplayer& c = console();
    testsupport::ScriptedRoomPlayer& roomPlayer = testsupport::ConsoleFixture::room;
    c.IMCClient->SetReplyLimit(300);
    c.AdvSonglist->addItem({.notes = "<html>A</html>", .tag = 777, .hint = "777"});
    c.AdvSonglist->setSelectedIndex(0);
    const struct {
        const char* away;
        std::function<void()> make;
    } ways[] = {
        {"refused", [&] { c.Sys_Port->setValue(testsupport::ScriptedRoomPlayer::closedPort()); }},
        {"link lost", [&] { c.perintahSucces = 0; }},
        {"no answer", [&] { roomPlayer.answerCode("37", Answer::NoAnswer()); }},
        {"failure marker", [&] { roomPlayer.answerCode("37", Answer::FailureMarker()); }},
    };
    for (const bool playNow : {false, true}) {
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(way.away) + (playNow ? ", play-now button" : ", play"));
            seed({1, 2, 3});
            select(1);
            way.make();
            if (playNow) {
                emit c.lvPlaylistnNew->graphicClicked(1);
            } else {
                emit c.lvPlaylistnNew->itemClicked(1);
                skinCommand("play");
            }
            EXPECT_EQ(positions(), QStringList({"K1=1", "K2=2", "K3=3"}));
            EXPECT_TRUE(playlistStatements().isEmpty()) << playlistStatements().join('\n');
            EXPECT_FALSE(sent().contains("1#777")) << "no other song plays";
            // The console back as it was for the next way.
            if (TFrmError* dialog = c.ErrorDialog()) {
                dialog->AdvSmoothButton1->click();
            }
            c.Sys_Port->setValue(roomPlayer.port());
            c.perintahSucces = 1;
            c.TimerPreparation->stop();
            c.AdvPanel1->hide();
            c.setEnabled(true);
            roomPlayer.resetScript();
        }
    }
}

// Once the room player took the song, a failure of the songs database while
// the entry is removed or the playlist redrawn is logged; the song list's
// song does not play on top of it.
TEST_F(PlaylistTest, AFailureAfterThePlaylistSongPlayedPlaysNothingElse) {
    Tfplayer& c = console();
    const QList<int> songIds = seed({1, 2});
    c.AdvSonglist->addItem({.notes = "<html>A</html>", .tag = 777, .hint = "777"});
    c.AdvSonglist->setSelectedIndex(0);
    select(1);
    emit c.lvPlaylistnNew->itemClicked(1);
    loseSongsServer();

    skinCommand("play");

    EXPECT_EQ(sent(), QStringList({"37#" + QString::number(songIds[1])}));
    ASSERT_FALSE(logEntries().isEmpty());
    EXPECT_TRUE(logEntries().last().startsWith("lvPlaylistNew GraphicClick "))
        << logEntries().join('\n').toStdString();
}

// After "repeat" (or "previous") the room player answers "4": the progress
// asks for its length again, and every redraw that follows keeps the entry
// the guest chose and the list where the guest scrolled it. The next command
// acts on that entry.
TEST_F(PlaylistTest, ProgressQuestionsAfterRepeatKeepTheGuestsEntry) {
    using Answer = testsupport::ScriptedRoomPlayer::Answer;
    Tfplayer& c = console();
    QList<int> positionsToSeed;
    for (int i = 1; i <= 30; ++i) {
        positionsToSeed << i;
    }
    seed(positionsToSeed);
    c.lvPlaylistnNew->resize(c.lvPlaylistnNew->width(), 200);
    select(24);
    const int scroll = c.lvPlaylistnNew->verticalScrollBar()->value();
    ASSERT_GT(scroll, 0) << "the chosen entry lies below the first screenful";

    testsupport::ScriptedRoomPlayer& roomPlayer = testsupport::ConsoleFixture::room;
    roomPlayer.answerCode("4", Answer::Reply("4#"));
    roomPlayer.answerCode("33", Answer::Reply("7#3#240"));
    skinCommand("repeat");
    ASSERT_EQ(c.bacaDurasiwmp, 1);
    for (int tick = 0; tick < 3; ++tick) {
        c.Timer1Timer();
        EXPECT_EQ(c.lvPlaylistnNew->selectedIndex(), 24) << "tick " << tick;
        EXPECT_EQ(c.lvPlaylistnNew->verticalScrollBar()->value(), scroll) << "tick " << tick;
    }
    EXPECT_EQ(sent(), QStringList({"4#", "33#"})) << "the length ended the questions";

    clearRecords();
    songs.exec("TRUNCATE TABLE mysql.general_log");
    skinCommand("delete");
    EXPECT_EQ(playlistStatements(),
              recorded({QStringLiteral("CALL DeleteLaguPlaylist(25,%1);").arg(quotedRoom())}));
}

TEST_F(PlaylistTest, PlayFallsBackToTheSongListWhenNoPlaylistEntryIsSelected) {
    seed({1, 2});
    Tfplayer& c = console();
    c.AdvSonglist->addItem({.notes = "<html>A</html>", .tag = 777, .hint = "777"});
    c.AdvSonglist->addItem({.notes = "<html>B</html>", .tag = 778, .hint = "778"});
    const struct {
        int pilihplay;
        int songRow;
        QStringList messages;
        QStringList logLabels;
    } cases[] = {
        {0, 1, {"1#778"}, {}},
        {1, 0, {"1#777"}, {"lvPlaylistNew GraphicClick "}},
        {1, -1, {}, {"lvPlaylistNew GraphicClick ", "FSCommand "}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.songRow);
        select(-1);
        c.AdvSonglist->setSelectedIndex(-1);
        c.AdvSonglist->setSelectedIndex(k.songRow);
        c.pilihplay = k.pilihplay;
        c.IdlaguSelect = 0;
        const qsizetype logged = logEntries().size();

        skinCommand("play");

        EXPECT_EQ(sent(), k.messages);
        const QStringList entries = logEntries().mid(logged);
        ASSERT_EQ(entries.size(), k.logLabels.size()) << entries.join('\n').toStdString();
        for (qsizetype i = 0; i < entries.size(); ++i) {
            EXPECT_TRUE(entries[i].startsWith(k.logLabels[i])) << entries[i].toStdString();
            EXPECT_GT(entries[i].size(), k.logLabels[i].size()) << "the failure's message follows";
        }
        if (k.songRow >= 0) {
            EXPECT_EQ(c.IdlaguSelect, c.AdvSonglist->item(k.songRow).tag);
        }
        EXPECT_TRUE(playlistStatements().isEmpty()) << "the playlist is not touched";
        EXPECT_EQ(positions(), QStringList({"K1=1", "K2=2"}));
    }
}

// A change the songs database did not take is said over the playlist, in a
// notice that goes by itself; nothing else changes and the room player is not
// told of a change that did not happen.
TEST_F(PlaylistTest, AFailedStatementIsSaidOverThePlaylistAndChangesNothingElse) {
    const struct {
        const char* command;
        int row;
        QString notice;
    } cases[] = {{"delete", 1, Tfplayer::PlaylistNotChangedNotice()},
                 {"up", 1, Tfplayer::PlaylistNotChangedNotice()},
                 {"down", 1, Tfplayer::PlaylistNotChangedNotice()},
                 {"priority", 1, Tfplayer::PlaylistNotChangedNotice()},
                 {"saveplaylist", 1, Tfplayer::SongNotAddedNotice()}};
    seed({1, 2, 3});
    console().AdvSonglist->addItem({.notes = "<html>A</html>", .tag = 777, .hint = "777"});
    console().AdvSonglist->setSelectedIndex(0);
    loseSongsServer();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.command);
        console().lblNotice->hide();
        console().lvPlaylistnNew->setSelectedIndex(k.row);
        clearRecords();

        skinCommand(k.command);

        EXPECT_TRUE(sent().isEmpty());
        EXPECT_EQ(shownKeys(), QStringList({"K1", "K2", "K3"}));
        EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), k.row);
        EXPECT_FALSE(console().lblNotice->isHidden());
        EXPECT_EQ(console().lblNotice->text(), k.notice);
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
    EXPECT_TRUE(platform.messages.isEmpty()) << "no dialog to answer";
    EXPECT_EQ(positions(), QStringList({"K1=1", "K2=2", "K3=3"}));
}

// "priority" is all or nothing: a failure part-way leaves the playlist as it
// was, with no entry parked at 1000 and no two entries sharing a position.
TEST_F(PlaylistTest, APriorityThatFailsPartWayLeavesNothingHalfDone) {
    seed({0, 2, 3, 4});
    select(2);
    songs.exec(QStringLiteral(
        "CREATE OR REPLACE TRIGGER t_priority_half BEFORE UPDATE ON playlist FOR EACH ROW "
        "BEGIN IF NEW.idplaylist = 13 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = "
        "'disk full'; END IF; END"));
    skinCommand("priority");
    songs.exec(QStringLiteral("DROP TRIGGER t_priority_half"));

    EXPECT_EQ(positions(), QStringList({"K1=0", "K2=2", "K3=3", "K4=4"}));
    EXPECT_FALSE(console().lblNotice->isHidden());
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(console().module().AdoConn.InTransaction());

    skinCommand("priority");
    EXPECT_EQ(positions(), QStringList({"K1=10", "K2=11", "K3=0", "K4=13"}));
}

TEST_F(PlaylistTest, TheDiagnosticButtonReloadsWithTheFirstEntrySelected) {
    seed({1, 2});
    const int song = addSong("QZLATE", "QZ BAND");
    songs.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                              "VALUES (0, %1, 'K0', %2)")
                   .arg(quotedRoom())
                   .arg(song));
    select(1);

    console().Button5->click();

    EXPECT_EQ(shownKeys(), QStringList({"K0", "K1", "K2"}));
    EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), 0);
    EXPECT_EQ(console().lblCountPlaylist->text(), "3");
}

}  // namespace
