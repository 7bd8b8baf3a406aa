// The media folder on a real disk: read at start, then watched, so that songs
// copied in later are found once complete and songs removed are not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "player/mediafolder.h"

namespace {

namespace fs = std::filesystem;

class MediaFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(Folder());
        fs::create_directories(Folder() / "1");
        Write(Folder() / "7.mp4");
        Write(Folder() / "1" / "1001.mkv");
        Write(Folder() / "notes.txt");
    }
    void TearDown() override { fs::remove_all(Folder()); }

    static fs::path Folder() {
        return fs::path(::testing::TempDir()) / ("lyrabox-media-" + std::to_string(::getpid()));
    }
    static void Write(const fs::path& file) { std::ofstream(file) << "song"; }

    // The watch works on a thread of its own: waits (within a bound) until
    // songId is found.
    static bool FoundSoon(const TMediaFolder& media, int songId) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!media.Find(songId) && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return media.Find(songId).has_value();
    }

    std::ostringstream log;
};

TEST_F(MediaFolder, FindsTheSongsPresentAtStartInTheFolderAndOneLevelDown) {
    const TMediaFolder media = TMediaFolder::ScanAndWatch(Folder(), log);
    EXPECT_EQ(media.Size(), 2u);
    EXPECT_EQ(media.Find(7), Folder() / "7.mp4");
    EXPECT_EQ(media.Find(1001), Folder() / "1" / "1001.mkv");
    EXPECT_FALSE(media.Find(8));
    EXPECT_EQ(log.str(), "");
}

TEST_F(MediaFolder, FindsASongCopiedInAfterStartOnceItIsComplete) {
    const TMediaFolder media = TMediaFolder::ScanAndWatch(Folder(), log);
    std::ofstream copying(Folder() / "20.mp4");
    copying << "the first half of a song" << std::flush;
    // Events of one folder come in order: once the later song is found, the
    // watch has seen the half-written one too.
    Write(Folder() / "21.mp4");
    ASSERT_TRUE(FoundSoon(media, 21));
    EXPECT_FALSE(media.Find(20)) << "a song still being copied";
    copying.close();
    EXPECT_TRUE(FoundSoon(media, 20));
}

TEST_F(MediaFolder, FindsSongsMovedInAndInNewSubFolders) {
    const TMediaFolder media = TMediaFolder::ScanAndWatch(Folder(), log);
    const fs::path outside = Folder().string() + "-outside";
    fs::create_directories(outside / "3");
    Write(outside / "30.mp4");
    Write(outside / "3" / "3001.mp4");
    fs::rename(outside / "30.mp4", Folder() / "30.mp4");
    fs::rename(outside / "3", Folder() / "3");
    fs::create_directories(Folder() / "4");
    Write(Folder() / "4" / "4001.mp4");
    EXPECT_TRUE(FoundSoon(media, 30));
    EXPECT_TRUE(FoundSoon(media, 3001));
    EXPECT_TRUE(FoundSoon(media, 4001));
    fs::remove_all(outside);
}

TEST_F(MediaFolder, NoLongerFindsASongRemoved) {
    const TMediaFolder media = TMediaFolder::ScanAndWatch(Folder(), log);
    fs::remove(Folder() / "7.mp4");
    fs::remove_all(Folder() / "1");
    EXPECT_FALSE(media.Find(7));
    EXPECT_FALSE(media.Find(1001));
    // A sub-folder moved away takes its songs with it, and what is written
    // into it later is not the room's.
    const fs::path away = Folder().string() + "-away";
    fs::create_directories(Folder() / "5");
    Write(Folder() / "5" / "5001.mp4");
    ASSERT_TRUE(FoundSoon(media, 5001));
    fs::remove_all(away);
    fs::rename(Folder() / "5", away);
    Write(away / "5002.mp4");
    EXPECT_FALSE(media.Find(5001));
    // Once the watch has seen them go, they are not counted either.
    Write(Folder() / "9.mp4");
    ASSERT_TRUE(FoundSoon(media, 9));
    EXPECT_EQ(media.Size(), 1u);
    EXPECT_FALSE(media.Find(5002));
    fs::remove_all(away);
}

TEST_F(MediaFolder, AFolderThatCannotBeWatchedIsReadOnceWithOneLine) {
    const TMediaFolder media = TMediaFolder::ScanAndWatch(Folder() / "absent", log);
    EXPECT_EQ(media.Size(), 0u);
    EXPECT_NE(log.str().find("cannot be watched"), std::string::npos) << log.str();
}

}  // namespace
