// The room player playing a room's playlist from the songs database: in play
// order, removing each entry as it starts, for the song's length, idle on an
// empty playlist, and back at work after the database was out of reach.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "manualclock.h"
#include "simulator/databasesongsource.h"
#include "simulator/playeraccount.h"
#include "simulator/roomstate.h"
#include "simulator/songsdatabase.h"
#include "support/admin_db.h"
#include "support/test_paths.h"

namespace {

using testsupport::AdminDb;

// A room of its own, so the demo rooms' playlists stay as they are.
const QString kRoom = QStringLiteral("SIM ROOM 9");
const QString kOtherRoom = QStringLiteral("SIM ROOM 8");

// Demo songs with their lengths in the catalogue.
struct TCatalogueSong {
    const char* title;
    int length;
};
constexpr TCatalogueSong kMyLove{"MY LOVE", 215};
constexpr TCatalogueSong kCintaSejati{"CINTA SEJATI", 263};
constexpr TCatalogueSong kDontStop{"DON'T STOP", 199};

std::string Started(int songId, int length) {
    return "5#" + std::to_string(length) + "#" + std::to_string(songId);
}

class RoomPlaylistInDatabase : public ::testing::Test {
protected:
    void SetUp() override { ClearPlaylists(); }
    void TearDown() override { ClearPlaylists(); }

    void ClearPlaylists() {
        admin.exec(QStringLiteral("DELETE FROM playlist WHERE namaroom IN ('%1', '%2')")
                       .arg(kRoom, kOtherRoom));
    }

    int SongId(const TCatalogueSong& song) {
        QString title = QString::fromUtf8(song.title).replace('\'', QStringLiteral("''"));
        int id =
            admin.scalar(QStringLiteral("SELECT idlagu FROM lagu WHERE judul = '%1'").arg(title))
                .toInt();
        if (id <= 0) {
            throw std::runtime_error(std::string("demo song missing: ") + song.title);
        }
        return id;
    }

    // Adds (play position, song) entries to a room in the order given.
    void AddEntries(const QString& room, const std::vector<std::pair<int, int>>& entries) {
        for (auto [position, songId] : entries) {
            admin.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                                      "VALUES (%1, '%2', 'K%1x%3', %3)")
                           .arg(position)
                           .arg(room)
                           .arg(songId));
        }
    }

    // The song ids of a room's playlist in play order.
    QStringList Playlist(const QString& room) {
        QStringList ids;
        for (const QStringList& row :
             admin.rows(QStringLiteral("SELECT idlagu FROM playlist WHERE namaroom = '%1' "
                                       "ORDER BY idplaylist, id")
                            .arg(room))) {
            ids << row.at(0);
        }
        return ids;
    }

    std::string Execute(const char* command) {
        std::optional<std::string> reply = room.Execute(command);
        return reply ? *reply : "(failure marker)";
    }

    AdminDb admin{AdminDb::songsDatabase()};
    std::ostringstream log;
    TDatabaseSongSource songs{testsupport::testSettingIni(), kRoom, log};
    TManualClock clock;
    TRoomState room{songs, clock};
};

TEST_F(RoomPlaylistInDatabase, PlaysEntriesByPositionThenOrderAddedAndRemovesEachAsItStarts) {
    const int myLove = SongId(kMyLove), cinta = SongId(kCintaSejati), dontStop = SongId(kDontStop);
    // Position 2 twice (a move to the front passes through such ties): the one
    // added first plays first.
    AddEntries(kRoom, {{2, myLove}, {1, cinta}, {2, dontStop}});
    AddEntries(kOtherRoom, {{0, dontStop}});

    EXPECT_EQ(Execute("2#a"), Started(cinta, kCintaSejati.length));
    EXPECT_EQ(Playlist(kRoom), (QStringList{QString::number(myLove), QString::number(dontStop)}));
    EXPECT_EQ(Execute("2#a"), Started(myLove, kMyLove.length));
    EXPECT_EQ(Execute("2#a"), Started(dontStop, kDontStop.length));
    EXPECT_TRUE(Playlist(kRoom).isEmpty());

    EXPECT_EQ(Execute("2#a"), "0#");
    EXPECT_FALSE(room.Playback().Playing());
    EXPECT_EQ(Playlist(kOtherRoom), QStringList{QString::number(dontStop)});
    EXPECT_EQ(log.str(), "");
}

TEST_F(RoomPlaylistInDatabase, PlaysEachSongForItsLengthThenTheNextThenIdles) {
    const int myLove = SongId(kMyLove), cinta = SongId(kCintaSejati);
    AddEntries(kRoom, {{1, myLove}, {2, cinta}});

    // A song saved while nothing plays starts the playlist.
    EXPECT_EQ(Execute("20#"), Started(myLove, kMyLove.length));
    clock.AdvanceSeconds(kMyLove.length - 1);
    EXPECT_EQ(Execute("33#"), "7#214#215");
    EXPECT_EQ(Playlist(kRoom), QStringList{QString::number(cinta)});

    // The song ran out: the next entry starts by itself and leaves the playlist;
    // the console learns its length from the progress answer.
    clock.AdvanceSeconds(1);
    EXPECT_EQ(Execute("33#"), Started(cinta, kCintaSejati.length));
    EXPECT_TRUE(Playlist(kRoom).isEmpty());
    clock.AdvanceSeconds(100);
    EXPECT_EQ(Execute("33#"), "7#100#263");

    clock.AdvanceSeconds(kCintaSejati.length - 100);
    EXPECT_EQ(Execute("33#"), "0#");
    EXPECT_EQ(Execute("20#"), "0#");
    EXPECT_FALSE(room.Playback().Playing());

    // A song saved to the idle room plays at once.
    AddEntries(kRoom, {{1, myLove}});
    EXPECT_EQ(Execute("20#"), Started(myLove, kMyLove.length));
}

TEST_F(RoomPlaylistInDatabase, BookingStartPlaysTheFirstEntryOnlyWhenNothingPlays) {
    const int myLove = SongId(kMyLove), cinta = SongId(kCintaSejati);

    EXPECT_EQ(Execute("GO#"), "1#60;5;0");
    EXPECT_EQ(Execute("26#127.0.0.1"), "0#");

    AddEntries(kRoom, {{1, myLove}, {2, cinta}});
    EXPECT_EQ(Execute("GO#"), "1#60;5;0");
    clock.AdvanceSeconds(3);
    EXPECT_EQ(Execute("26#127.0.0.1"), "11#" + std::to_string(myLove) + ";215;3;5");
    EXPECT_EQ(Playlist(kRoom), QStringList{QString::number(cinta)});

    // Another booking start while a song plays leaves song and playlist alone.
    EXPECT_EQ(Execute("GO#"), "1#60;5;0");
    EXPECT_EQ(room.Playback().Song().id, myLove);
    EXPECT_EQ(Playlist(kRoom), QStringList{QString::number(cinta)});
}

TEST_F(RoomPlaylistInDatabase, PlayNowTakesTheLengthFromTheCatalogueAndLeavesThePlaylist) {
    const int myLove = SongId(kMyLove), cinta = SongId(kCintaSejati);
    AddEntries(kRoom, {{1, cinta}});
    struct TPlayNow {
        const char* code;
        int songId;
        int length;
    };
    for (const TPlayNow& row :
         {TPlayNow{"1#", myLove, kMyLove.length}, TPlayNow{"37#", cinta, kCintaSejati.length}}) {
        const std::string command = row.code + std::to_string(row.songId);
        EXPECT_EQ(Execute(command.c_str()), Started(row.songId, row.length)) << command;
    }
    EXPECT_EQ(Playlist(kRoom), QStringList{QString::number(cinta)});
    EXPECT_EQ(log.str(), "");

    // An id the catalogue does not know still plays, and the log says so.
    const std::string unknown = Execute("1#987654");
    EXPECT_TRUE(unknown.starts_with("5#")) << unknown;
    EXPECT_NE(log.str().find("song 987654 is not in the catalogue"), std::string::npos)
        << log.str();
}

TEST_F(RoomPlaylistInDatabase, SongsCarryTheirTitleAndArtistAndTheNextIsSeenWithoutBeingTaken) {
    // A song whose names are not plain ASCII, as the catalogue has it.
    const QStringList named =
        admin
            .rows(QStringLiteral("SELECT idlagu, judul, artis, durasi FROM lagu "
                                 "WHERE LENGTH(judul) <> CHAR_LENGTH(judul) "
                                 "AND LENGTH(artis) <> CHAR_LENGTH(artis) "
                                 "ORDER BY idlagu LIMIT 1"))
            .value(0);
    ASSERT_EQ(named.size(), 4) << "the demo catalogue has accented titles and artists";
    const TSong expected{named[0].toInt(), named[3].toInt(), named[1].toStdString(),
                         named[2].toStdString()};
    const int myLove = SongId(kMyLove);
    AddEntries(kRoom, {{1, 987654}, {2, expected.id}, {3, myLove}});

    EXPECT_EQ(songs.PeekNext(), expected) << "the first entry the catalogue has";
    EXPECT_EQ(songs.PeekNext(), expected);
    EXPECT_EQ(Playlist(kRoom).size(), 3) << "looking takes nothing";

    EXPECT_EQ(songs.TakeNext(), expected);
    EXPECT_EQ(songs.PeekNext()->title, kMyLove.title);
    EXPECT_EQ(songs.Describe(expected.id), expected);
    EXPECT_EQ(songs.TakeNext()->title, kMyLove.title);
    EXPECT_EQ(songs.PeekNext(), std::nullopt);
}

TEST_F(RoomPlaylistInDatabase, AnEntryWhoseSongIsMissingFromTheCatalogueIsPassedOver) {
    const int myLove = SongId(kMyLove);
    AddEntries(kRoom, {{1, 987654}, {2, myLove}});
    EXPECT_EQ(Execute("2#a"), Started(myLove, kMyLove.length));
    EXPECT_TRUE(Playlist(kRoom).isEmpty());
    EXPECT_NE(log.str().find("song 987654 of the playlist is not in the catalogue"),
              std::string::npos)
        << log.str();
}

TEST_F(RoomPlaylistInDatabase, RecoversOnTheNextNeedAfterTheDatabaseWasOutOfReach) {
    const int myLove = SongId(kMyLove), cinta = SongId(kCintaSejati), dontStop = SongId(kDontStop);
    AddEntries(kRoom, {{1, myLove}, {2, cinta}, {3, dontStop}});

    // The settings point at a port where no server listens.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString settings = folder.filePath(QStringLiteral("setting.ini"));
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[PlayerKaraoke]\nServerLaguHost=127.0.0.1:1\nDatabaseLagu=test_lagu\n");
    }
    std::ostringstream unreachableLog;
    TDatabaseSongSource source(settings, kRoom, unreachableLog);
    TRoomState unreachableRoom(source, clock);

    EXPECT_EQ(unreachableRoom.Execute("2#a"), "0#");
    EXPECT_EQ(unreachableRoom.Execute("27#40"), "9#40");  // the room keeps answering
    EXPECT_NE(unreachableLog.str().find("the room playlist reads as empty"), std::string::npos)
        << unreachableLog.str();
    EXPECT_EQ(Playlist(kRoom).size(), 3);

    // The settings are put right: the next need reaches the server.
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QFile::copy(testsupport::testSettingIni(), settings));
    EXPECT_EQ(unreachableRoom.Execute("2#a"), Started(myLove, kMyLove.length));

    // The server ends the room player's session (a restart, say): the next
    // need notices and connects again, and nothing of the playlist is skipped.
    for (const QStringList& session : admin.rows(
             QStringLiteral("SELECT id FROM information_schema.processlist WHERE user = '%1'")
                 .arg(QString::fromLatin1(playeraccount::kUser)))) {
        admin.exec(QStringLiteral("KILL CONNECTION %1").arg(session.at(0)));
    }
    EXPECT_EQ(unreachableRoom.Execute("2#a"), Started(cinta, kCintaSejati.length));
    EXPECT_EQ(Playlist(kRoom), QStringList{QString::number(dontStop)});
}

TEST_F(RoomPlaylistInDatabase, TheRoomPlayersAccountMayOnlyReadSongsAndRemovePlaylistEntries) {
    QStringList grants;
    for (const QStringList& row : admin.rows(QStringLiteral("SHOW GRANTS FOR '%1'@'127.0.0.1'")
                                                 .arg(QString::fromLatin1(playeraccount::kUser)))) {
        if (!row.at(0).startsWith(QLatin1String("GRANT USAGE"))) {
            grants << row.at(0).section(QStringLiteral(" TO "), 0, 0);
        }
    }
    grants.sort();
    EXPECT_EQ(grants,
              (QStringList{QStringLiteral("GRANT SELECT ON `test_lagu`.`lagu`"),
                           QStringLiteral("GRANT SELECT, DELETE ON `test_lagu`.`playlist`")}));
}

// Where the songs database is, as the settings file names it.
struct TSettingsCase {
    const char* name;
    const char* ini;
    const char* where;  // nullptr: refused
};

void PrintTo(const TSettingsCase& row, std::ostream* out) {
    *out << row.name;
}

class SongsDatabaseSettings : public ::testing::TestWithParam<TSettingsCase> {};

TEST_P(SongsDatabaseSettings, AreReadAsTheConsoleReadsThem) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("setting.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().ini);
    file.close();
    if (GetParam().where == nullptr) {
        EXPECT_THROW(ReadSongsDatabase(path), std::runtime_error);
    } else {
        EXPECT_EQ(ReadSongsDatabase(path).Describe().toStdString(), GetParam().where);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SongsDatabaseSettings,
    ::testing::Values(
        TSettingsCase{"HostWithPort",
                      "[PlayerKaraoke]\r\nServerLaguHost=127.0.0.1:33307\r\nDatabaseLagu=lagu\r\n",
                      "lagu on 127.0.0.1:33307"},
        TSettingsCase{"NamesInAnyCase",
                      "[playerkaraoke]\nSERVERLAGUHOST = localhost \ndatabaselagu=x\n",
                      "x on localhost:3306"},
        TSettingsCase{"NoDatabase", "[PlayerKaraoke]\nServerLaguHost=127.0.0.1\n", nullptr},
        TSettingsCase{"OtherSection", "[Transaksi]\nServerLaguHost=127.0.0.1\nDatabaseLagu=x\n",
                      nullptr},
        TSettingsCase{"BadPort",
                      "[PlayerKaraoke]\nServerLaguHost=127.0.0.1:99999\nDatabaseLagu=x\n", nullptr},
        // The tests run loopback-only: a venue host is refused before any contact.
        TSettingsCase{"VenueHost",
                      "[PlayerKaraoke]\nServerLaguHost=192.168.100.10\nDatabaseLagu=x\n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SongsDatabaseSettingsFile, ThatIsMissingIsRefused) {
    EXPECT_THROW(ReadSongsDatabase(QStringLiteral("/nonexistent/setting.ini")), std::runtime_error);
}

}  // namespace
