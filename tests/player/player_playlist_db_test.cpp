// lyrabox-player playing a room's playlist from the songs database of the
// suite's private server: in play order, each song for its file's length, the
// entries without a playable file passed over.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

#include "player_process.h"
#include "support/admin_db.h"
#include "support/test_paths.h"
#include "test_media.h"

namespace {

namespace fs = std::filesystem;
using testsupport::AdminDb;

const QString kRoom = QStringLiteral("PLAYER ROOM 9");
constexpr int kSongSeconds = 2;

class PlayerPlaylist : public ::testing::Test {
protected:
    void SetUp() override { ClearPlaylist(); }
    void TearDown() override { ClearPlaylist(); }

    void ClearPlaylist() {
        admin.exec(QStringLiteral("DELETE FROM playlist WHERE namaroom = '%1'").arg(kRoom));
    }

    // Catalogue songs whose length there is not the files' length.
    std::vector<int> CatalogueSongs(int count) {
        std::vector<int> ids;
        for (const QStringList& row :
             admin.rows(QStringLiteral("SELECT idlagu FROM lagu WHERE durasi <> %1 "
                                       "ORDER BY idlagu LIMIT %2")
                            .arg(kSongSeconds)
                            .arg(count))) {
            ids.push_back(row.at(0).toInt());
        }
        return ids;
    }

    void AddEntries(const std::vector<int>& songs) {
        int position = 0;
        for (int songId : songs) {
            admin.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                                      "VALUES (%1, '%2', 'P%1x%3', %3)")
                           .arg(++position)
                           .arg(kRoom)
                           .arg(songId));
        }
    }

    int PlaylistSize() {
        return admin
            .scalar(
                QStringLiteral("SELECT COUNT(*) FROM playlist WHERE namaroom = '%1'").arg(kRoom))
            .toInt();
    }

    AdminDb admin{AdminDb::songsDatabase()};
};

std::string File(int songId, const char* extension) {
    return std::to_string(songId) + extension;
}

TEST_F(PlayerPlaylist, PlaysTheEntriesInOrderPassingOverThoseWithoutAPlayableFile) {
    const std::vector<int> songs = CatalogueSongs(4);
    ASSERT_EQ(songs.size(), 4u);
    const int first = songs[0], missing = songs[1], broken = songs[2], last = songs[3];
    const fs::path root =
        fs::path(::testing::TempDir()) / ("lyrabox-player-playlist-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "media");
    testmedia::Stereo(root / "media" / File(first, ".mkv"), 440, 440, kSongSeconds, true);
    testmedia::Broken(root / "media" / File(broken, ".mp4"));
    testmedia::Stereo(root / "media" / File(last, ".wav"), 660, 660, kSongSeconds);
    AddEntries({first, missing, broken, last});

    TPlayerProcess player(
        root, root / "media",
        {"--room", kRoom.toStdString(), "--settings", testsupport::testSettingIni().toStdString()});
    EXPECT_EQ(player.Send("GO#"), "1#60;5;0") << "the booking starts the first entry";
    std::vector<std::string> started;
    for (const std::string& reply : player.ProgressUntilIdle()) {
        if (reply.rfind("5#", 0) == 0) {
            started.push_back(reply);
        }
    }
    const std::string length = "5#" + std::to_string(kSongSeconds) + "#";
    EXPECT_EQ(started, (std::vector<std::string>{length + std::to_string(first),
                                                 length + std::to_string(last)}));
    EXPECT_EQ(PlaylistSize(), 0);
    EXPECT_EQ(player.Terminate(), 0);

    const std::string errors = player.Errors();
    EXPECT_NE(errors.find("song " + std::to_string(missing) + " has no file"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("song " + std::to_string(broken) + ": mpv cannot play"),
              std::string::npos)
        << errors;
    fs::remove_all(root);
}

}  // namespace
