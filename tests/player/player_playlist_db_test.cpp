// lyrabox-player playing a room's playlist from the songs database of the
// suite's private server: in play order, each song for its file's length, the
// entries without a playable file passed over.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QString>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "alsa_test_config.h"
#include "pcm_audio.h"
#include "pcm_fifo.h"
#include "player_process.h"
#include "support/admin_db.h"
#include "support/test_paths.h"
#include "test_media.h"
#include "virtual_screen.h"

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

    // Media of this test process's own, in a fresh folder.
    fs::path Root() {
        const fs::path root = fs::path(::testing::TempDir()) /
                              ("lyrabox-player-playlist-" + std::to_string(::getpid()));
        fs::create_directories(root / "media");
        return root;
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

// The console asks for progress only when its own count reaches a song's end;
// the player follows on at once by itself.
TEST_F(PlayerPlaylist, FollowsOnWithTheNextEntryWithoutTheConsoleAsking) {
    const std::vector<int> songs = CatalogueSongs(2);
    ASSERT_EQ(songs.size(), 2u);
    const fs::path root = Root();
    testmedia::Stereo(root / "media" / File(songs[0], ".wav"), 440, 440, kSongSeconds);
    testmedia::Stereo(root / "media" / File(songs[1], ".wav"), 660, 660, kSongSeconds);
    AddEntries(songs);

    TPlayerProcess player(
        root, root / "media",
        {"--room", kRoom.toStdString(), "--settings", testsupport::testSettingIni().toStdString()});
    EXPECT_EQ(player.Send("GO#"), "1#60;5;0");
    EXPECT_EQ(PlaylistSize(), 1);
    // Nothing asks the player anything until the second entry has left the
    // playlist, which it does as it starts (or after a generous while).
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (PlaylistSize() > 0 && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(PlaylistSize(), 0) << "the second song did not start by itself";
    EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
    ASSERT_EQ(player.Terminate(), 0);

    const TPcmAudio heard = TPcmAudio::Load(player.SoundFile());
    // The pitch filter keeps back under a tenth of a second at each song's end.
    EXPECT_NEAR(heard.Seconds(kSampleRate), 2 * kSongSeconds, 2 * 0.15);
    EXPECT_NEAR(heard.Slice(0, kSongSeconds, kSampleRate).Frequency(0, kSampleRate), 440, 5);
    EXPECT_NEAR(heard.Slice(kSongSeconds, 2 * kSongSeconds, kSampleRate).Frequency(0, kSampleRate),
                660, 5);
    fs::remove_all(root);
}

// The next entry of the playlist on the TV, looked at on a virtual X screen:
// under the room's name while nothing plays, in the corner while a song plays,
// gone when the playlist has nothing after the song.
TEST_F(PlayerPlaylist, ShowsTheNextEntryOnTheIdleScreenAndWhileASongPlays) {
    if (const std::string tool = TVirtualScreen::MissingTool(); !tool.empty()) {
        GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
    }
    const std::vector<int> songs = CatalogueSongs(2);
    ASSERT_EQ(songs.size(), 2u);
    const fs::path root = Root();
    for (int songId : songs) {
        testmedia::Stereo(root / "media" / File(songId, ".mkv"), 440, 440, 20, true);
    }
    AddEntries(songs);
    TVirtualScreen screen(root);
    ::setenv("DISPLAY", screen.Display().c_str(), 1);
    std::vector<std::string> arguments = TVirtualScreen::PlayerArguments();
    arguments.insert(arguments.end(), {"--mpv", "pause=yes", "--room", kRoom.toStdString(),
                                       "--settings", testsupport::testSettingIni().toStdString()});
    TPlayerProcess player(root, root / "media", arguments);

    // Bands of the 640x360 screen: the line under the idle screen's caption,
    // and the top, where the corner's line is.
    auto white = [](const TScreenPicture& picture, int top, int bottom) {
        return picture.WhitePixels(top, bottom);
    };
    const TScreenPicture idle =
        screen.WaitFor([&](const TScreenPicture& p) { return white(p, 180, 215) > 0; });
    EXPECT_GT(white(idle, 120, 170), 200) << "the room's name";
    EXPECT_GT(white(idle, 180, 215), 100) << "the next entry under it";

    ASSERT_EQ(player.Send("20#"), "5#20#" + std::to_string(songs[0]));
    const TScreenPicture first =
        screen.WaitFor([&](const TScreenPicture& p) { return white(p, 180, 215) == 0; });
    EXPECT_GT(white(first, 0, 40), 50) << "the next entry in the corner";

    ASSERT_EQ(player.Send("2#a"), "5#20#" + std::to_string(songs[1]));
    const TScreenPicture last =
        screen.WaitFor([&](const TScreenPicture& p) { return p.Differences(first, 120, 240) > 0; });
    EXPECT_EQ(white(last, 0, 40), 0) << "nothing after the last entry";
    EXPECT_EQ(player.Terminate(), 0);
    fs::remove_all(root);
}

// A file cut off and removed while it plays (a disk that went away) ends that
// song only: the next entry plays and the player goes on answering. The
// sound goes through a FIFO so that the song is surely playing when its file
// goes: the test has read its first second.
TEST_F(PlayerPlaylist, AFileThatGoesWhilePlayingEndsThatSongOnly) {
    const std::vector<int> songs = CatalogueSongs(2);
    ASSERT_EQ(songs.size(), 2u);
    const fs::path root = Root();
    const fs::path going = root / "media" / File(songs[0], ".wav");
    constexpr int kLongSong = 30;
    testmedia::Stereo(going, 440, 440, kLongSong);
    testmedia::Stereo(root / "media" / File(songs[1], ".wav"), 660, 660, kSongSeconds);
    AddEntries(songs);

    TPcmFifo sound(root / "sound.fifo", root / "heard.pcm");
    TPlayerProcess player(
        root, root / "media",
        {"--room", kRoom.toStdString(), "--settings", testsupport::testSettingIni().toStdString(),
         "--mpv", "ao-pcm-file=" + sound.Path().string()});
    EXPECT_EQ(player.Send("GO#"), "1#60;5;0");
    ASSERT_TRUE(sound.Read(1.0));
    fs::resize_file(going, 0);
    fs::remove(going);
    sound.ReadOnward();
    std::vector<std::string> started;
    for (const std::string& reply : player.ProgressUntilIdle()) {
        if (reply.rfind("5#", 0) == 0) {
            started.push_back(reply);
        }
    }
    EXPECT_EQ(started, (std::vector<std::string>{
                           "5#" + std::to_string(kLongSong) + "#" + std::to_string(songs[0]),
                           "5#" + std::to_string(kSongSeconds) + "#" + std::to_string(songs[1])}));
    EXPECT_EQ(PlaylistSize(), 0);
    EXPECT_EQ(player.Send("38#"), "1#60;5;0") << "the player goes on answering";
    ASSERT_EQ(player.Terminate(), 0);
    sound.Finish();

    const TPcmAudio heard = TPcmAudio::Load(sound.Heard());
    const double seconds = heard.Seconds(kSampleRate);
    // The first song stopped within what mpv had read ahead of its file.
    EXPECT_LT(seconds, kLongSong / 2);
    EXPECT_NEAR(heard.Slice(seconds - kSongSeconds + 0.2, seconds - 0.2, kSampleRate)
                    .Frequency(0, kSampleRate),
                660, 5);
    fs::remove_all(root);
}

// The suite's settings file with the playback PC's [RoomPlayer] keys added.
fs::path SettingsWithRoomPlayer(const fs::path& root, const std::string& roomPlayer) {
    std::ifstream suite(testsupport::testSettingIni().toStdString());
    std::stringstream text;
    text << suite.rdbuf() << "\n[RoomPlayer]\n" << roomPlayer;
    const fs::path file = root / "setting.ini";
    std::ofstream(file) << text.str();
    return file;
}

// The keys of the settings file reach the player: the guide vocal's channel
// is the left one, and a screen that is no number is a line on the log, not a
// player that does not start.
TEST_F(PlayerPlaylist, ReadsItsOwnKeysFromTheSettingsFile) {
    const fs::path root = Root();
    const int song = CatalogueSongs(1).at(0);
    // The guide vocal on the left at 660 Hz, the music on the right at 440 Hz.
    testmedia::Stereo(root / "media" / File(song, ".wav"), 660, 440, kSongSeconds);
    const fs::path settings = SettingsWithRoomPlayer(
        root, "VocalChannel=left\nScreen=abc\nAudioDevice=auto\nMicrophoneControl=\n");

    TPlayerProcess player(root, root / "media",
                          {"--room", kRoom.toStdString(), "--settings", settings.string()});
    EXPECT_EQ(player.Send("8#"), "6#");
    EXPECT_EQ(player.Send("31#7"), "10#7");
    EXPECT_EQ(player.Send("32#1"), "2#8");
    EXPECT_EQ(player.Send("1#" + std::to_string(song)),
              "5#" + std::to_string(kSongSeconds) + "#" + std::to_string(song));
    EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
    ASSERT_EQ(player.Terminate(), 0);

    const TPcmAudio heard = TPcmAudio::Load(player.SoundFile());
    EXPECT_NEAR(heard.Frequency(0, kSampleRate), 440, 5) << "the music on both speakers";
    EXPECT_NEAR(heard.Frequency(1, kSampleRate), 440, 5);
    const std::string errors = player.Errors();
    EXPECT_NE(errors.find("[RoomPlayer] Screen=abc is not a screen number"), std::string::npos)
        << errors;
    const std::string keptAsNumber = "the microphone level is kept as a number";
    const size_t kept = errors.find(keptAsNumber);
    EXPECT_NE(kept, std::string::npos) << errors;
    EXPECT_EQ(errors.find(keptAsNumber, kept + 1), std::string::npos) << "once, not per level";
    fs::remove_all(root);
}

// The room's microphone level moves the mixer control the settings name, on
// a real ALSA control (of the tests' own plugin) over its range -20..40; the
// settings bring it with a room's playlist or alone (a playback PC whose room
// is not named yet).
TEST_F(PlayerPlaylist, SetsTheMicrophoneControlTheSettingsName) {
    const fs::path root = Root();
    ::setenv("ALSA_CONFIG_PATH", alsatest::WriteConfig(root / "alsa").c_str(), 1);
    const fs::path settings =
        SettingsWithRoomPlayer(root, "MicrophoneCard=testmic\nMicrophoneControl=Mic\n");
    const struct {
        const char* what;
        std::vector<std::string> arguments;
    } cases[] = {
        {"with the room", {"--room", kRoom.toStdString(), "--settings", settings.string()}},
        {"the settings alone", {"--settings", settings.string()}},
    };
    for (const auto& [what, arguments] : cases) {
        SCOPED_TRACE(what);
        TPlayerProcess player(root, root / "media", arguments);
        EXPECT_EQ(player.Send("31#7"), "10#7");
        EXPECT_EQ(alsatest::Values(root / "alsa", "testmic"), "22 22");
        EXPECT_EQ(player.Send("32#1"), "2#8");
        EXPECT_EQ(alsatest::Values(root / "alsa", "testmic"), "28 28");
        EXPECT_EQ(player.Send("31#0"), "10#0");
        EXPECT_EQ(alsatest::Values(root / "alsa", "testmic"), "-20 -20");
        EXPECT_EQ(player.Terminate(), 0);
    }
    ::unsetenv("ALSA_CONFIG_PATH");
    fs::remove_all(root);
}

}  // namespace
