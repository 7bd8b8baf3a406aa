// What lyrabox-player draws on the TV, looked at on a virtual X screen with a
// real video output: the search text, the title of a song that starts, the
// idle screen. Each test compares the screen with and without a text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "player_process.h"
#include "test_media.h"
#include "virtual_screen.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSong = 201;  // a navy picture and a tone
constexpr int kSongSeconds = 20;

// Bands of the 640x360 screen (the overlay's 1920x1080 canvas, a third).
constexpr int kSearchBand[] = {0, 60};
constexpr int kTitleBand[] = {120, 240};
constexpr int kHeight = TVirtualScreen::kHeight;

class PlayerOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string tool = TVirtualScreen::MissingTool(); !tool.empty()) {
            if (std::getenv("CI") != nullptr) {
                FAIL() << tool << " is missing: scripts/deps.sh installs it";
            }
            GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
        }
        fs::remove_all(Root());
        fs::create_directories(Root() / "media");
        testmedia::Stereo(Root() / "media" / (std::to_string(kSong) + ".mkv"), 440, 440,
                          kSongSeconds, true);
        screen = std::make_unique<TVirtualScreen>(Root());
        ::setenv("DISPLAY", screen->Display().c_str(), 1);
        // A real video output drawn by the CPU; mpv holds every song at its
        // start until the room pauses and resumes it.
        std::vector<std::string> arguments = TVirtualScreen::PlayerArguments();
        arguments.insert(arguments.end(), {"--mpv", "pause=yes"});
        player = std::make_unique<TPlayerProcess>(Root(), Root() / "media", arguments);
    }

    void TearDown() override {
        player.reset();
        screen.reset();
        fs::remove_all(Root());
    }

    static fs::path Root() {
        return fs::path(::testing::TempDir()) /
               ("lyrabox-player-tv-test-" + std::to_string(::getpid()));
    }

    void Type(const std::string& text) {
        for (char c : text) {
            ASSERT_EQ(player->Send(c == ' ' ? "0#SP" : std::string("0#") + c), "6#");
        }
    }

    // The screen once it holds still with the song's picture on it.
    TScreenPicture SongOnScreen() {
        return screen->WaitFor([](const TScreenPicture& picture) {
            // navy: no red or green, some blue, over most of the screen
            int navy = 0;
            for (size_t at = 0; at + 2 < picture.rgb.size(); at += 3) {
                navy +=
                    picture.rgb[at] < 20 && picture.rgb[at + 1] < 20 && picture.rgb[at + 2] > 90;
            }
            return navy > TVirtualScreen::kWidth * kHeight / 2;
        });
    }

    // The screen once it holds still differing from before in band.
    TScreenPicture ChangedFrom(const TScreenPicture& before, const int (&band)[2]) {
        return screen->WaitFor([&](const TScreenPicture& picture) {
            return picture.Differences(before, band[0], band[1]) > 0;
        });
    }

    // The screen once it holds still looking as expected.
    TScreenPicture BackTo(const TScreenPicture& expected) {
        return screen->WaitFor([&](const TScreenPicture& picture) {
            return picture.Differences(expected, 0, kHeight) == 0;
        });
    }

    std::unique_ptr<TVirtualScreen> screen;
    std::unique_ptr<TPlayerProcess> player;
};

TEST_F(PlayerOnScreen, TheSearchTextIsDrawnWhileTypedAndGoesWhenCleared) {
    ASSERT_EQ(player->Send("1#" + std::to_string(kSong)), "5#20#" + std::to_string(kSong));
    const TScreenPicture song = SongOnScreen();

    Type("lagu cinta");
    const TScreenPicture searching = ChangedFrom(song, kSearchBand);
    EXPECT_GT(searching.Differences(song, kSearchBand[0], kSearchBand[1]), 200)
        << "the search line is drawn";
    EXPECT_EQ(searching.Differences(song, kSearchBand[1], kHeight), 0)
        << "and nothing else changes";

    ASSERT_EQ(player->Send("35#"), "6#");
    EXPECT_EQ(BackTo(song).Differences(song, 0, kHeight), 0) << "cleared: the song's picture";
}

TEST_F(PlayerOnScreen, OverrideCodesTypedAreDrawnAsTyped) {
    ASSERT_EQ(player->Send("1#" + std::to_string(kSong)), "5#20#" + std::to_string(kSong));
    const TScreenPicture song = SongOnScreen();

    // Taken as an override, this would hide everything typed after the label.
    Type("{\\alpha&HFF&}");
    const int hostile =
        ChangedFrom(song, kSearchBand).Differences(song, kSearchBand[0], kSearchBand[1]);
    ASSERT_EQ(player->Send("35#"), "6#");
    BackTo(song);
    Type("ab");
    const int twoLetters =
        ChangedFrom(song, kSearchBand).Differences(song, kSearchBand[0], kSearchBand[1]);
    EXPECT_GT(hostile, twoLetters) << "thirteen characters drawn take more room than two";
}

TEST_F(PlayerOnScreen, ASongsTitleShowsInItsFirstSeconds) {
    ASSERT_EQ(player->Send("1#" + std::to_string(kSong)), "5#20#" + std::to_string(kSong));
    const TScreenPicture starting = SongOnScreen();
    EXPECT_GT(starting.WhitePixels(kTitleBand[0], kTitleBand[1]), 200) << "the title is drawn";

    ASSERT_EQ(player->Send("34#10"), "7#10#20");
    const TScreenPicture later = ChangedFrom(starting, kTitleBand);
    EXPECT_EQ(later.WhitePixels(kTitleBand[0], kTitleBand[1]), 0) << "the title went";

    ASSERT_EQ(player->Send("34#0"), "7#0#20");
    EXPECT_EQ(BackTo(starting).Differences(starting, 0, kHeight), 0) << "from the start again";
}

TEST_F(PlayerOnScreen, TheIdleScreenShowsACaption) {
    const TScreenPicture idle = screen->WaitFor([](const TScreenPicture& picture) {
        return picture.WhitePixels(kTitleBand[0], kTitleBand[1]) > 200;
    });
    EXPECT_GT(idle.WhitePixels(kTitleBand[0], kTitleBand[1]), 200) << "the caption is drawn";
    EXPECT_EQ(idle.WhitePixels(kSearchBand[0], kSearchBand[1]), 0);

    Type("x");
    const TScreenPicture searching = ChangedFrom(idle, kSearchBand);
    EXPECT_GT(searching.WhitePixels(kSearchBand[0], kSearchBand[1]), 0) << "searching while idle";
    EXPECT_EQ(searching.Differences(idle, kSearchBand[1], kHeight), 0);
}

}  // namespace
