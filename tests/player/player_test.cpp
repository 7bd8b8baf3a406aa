// lyrabox-player itself, headless, with songs that ffmpeg makes for the test:
// its replies on the link, and what it played, measured in the sound it wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "pcm_audio.h"
#include "player_process.h"
#include "test_media.h"

namespace {

namespace fs = std::filesystem;

// The room's songs by id, each three seconds long.
constexpr int kTone = 101;          // stereo, 440 Hz on both channels
constexpr int kTwoTracks = 102;     // track 1 (guide vocal) 660 Hz, track 2 440 Hz
constexpr int kStereoVocal = 103;   // 440 Hz left (music), 660 Hz right (guide vocal)
constexpr int kMono = 104;          // 440 Hz
constexpr int kInSubFolder = 1105;  // stereo 440 Hz in the sub-folder "1"
constexpr int kBroken = 106;        // a file mpv cannot open
constexpr int kMissing = 107;       // no file at all
constexpr int kBass = 111;          // stereo, 80 Hz
constexpr int kLowBass = 112;       // stereo, 100 Hz
constexpr int kPresence = 113;      // stereo, 3 kHz
constexpr int kSongSeconds = 3;
constexpr double kLengthTolerance = 0.15;

const double kToneLevel = testmedia::kToneAmplitude / std::sqrt(2.0);

class PlayerWithMedia : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(Root());
        fs::create_directories(Media() / "1");
        testmedia::Stereo(Media() / "101.wav", 440, 440, kSongSeconds);
        testmedia::TwoTracks(Media() / "102.mka", 660, 440, kSongSeconds);
        testmedia::Stereo(Media() / "103.wav", 440, 660, kSongSeconds);
        testmedia::Mono(Media() / "104.wav", 440, kSongSeconds);
        testmedia::Stereo(Media() / "1" / "1105.mkv", 440, 440, kSongSeconds, true);
        testmedia::Broken(Media() / "106.mp4");
        testmedia::Stereo(Media() / "111.wav", 80, 80, kSongSeconds);
        testmedia::Stereo(Media() / "112.wav", 100, 100, kSongSeconds);
        testmedia::Stereo(Media() / "113.wav", 3000, 3000, kSongSeconds);
    }

    static void TearDownTestSuite() { fs::remove_all(Root()); }

    // CTest runs each test in a process of its own, several at once.
    static fs::path Root() {
        return fs::path(::testing::TempDir()) /
               ("lyrabox-player-test-" + std::to_string(::getpid()));
    }
    static fs::path Media() { return Root() / "media"; }

    // Plays song after the commands, to its end, and returns what was heard.
    TPcmAudio PlayToTheEnd(int song, const std::vector<std::string>& before) {
        TPlayerProcess player(Root(), Media());
        for (const std::string& command : before) {
            player.Send(command);
        }
        EXPECT_EQ(player.Send("1#" + std::to_string(song)),
                  "5#" + std::to_string(kSongSeconds) + "#" + std::to_string(song));
        EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
        EXPECT_EQ(player.Terminate(), 0);
        return TPcmAudio::Load(player.SoundFile());
    }
};

struct TExchange {
    const char* command;
    const char* reply;
};

TEST_F(PlayerWithMedia, AnswersTheConsoleAsTheRoomDoesWithTheFileLength) {
    TPlayerProcess player(Root(), Media());
    const std::string tone = std::to_string(kTone), sub = std::to_string(kInSubFolder);
    const std::string started = "5#" + std::to_string(kSongSeconds) + "#";
    const std::vector<std::pair<std::string, std::string>> exchanges = {
        {"38#", "1#60;5;0"},
        {"27#75", "9#75"},
        {"27#150", "9#100"},
        {"39#9", "3#6"},
        {"11#", "3#5"},
        {"1#" + tone, started + tone},
        {"13#", "3#1"},  // the song started in its own key
        {"37#" + sub, started + sub},
        {"1#" + std::to_string(kMissing), "0#"},  // passed over; nothing else to play
        {"33#", "0#"},
        {"1#" + std::to_string(kBroken), "0#"},
        {"2#a", "0#"},
        {"27#loud", "(failure marker)"},
        {"GI#", "0#"},
    };
    for (const auto& [command, reply] : exchanges) {
        EXPECT_EQ(player.Send(command), reply) << command;
        const std::string shown = reply == "(failure marker)" ? "failure marker" : reply;
        EXPECT_EQ(player.ReadLine(), command + " -> " + shown);
    }
    EXPECT_EQ(player.Terminate(), 0);
    const std::string errors = player.Errors();
    EXPECT_NE(errors.find("song 107 has no file in the media folder; passed over"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("song 106: mpv cannot play"), std::string::npos) << errors;
}

// The folder is watched: a song copied in after start plays without a
// restart, whether written in place or moved in whole; a song removed no
// longer plays.
TEST_F(PlayerWithMedia, PlaysSongsCopiedInAfterStartAndNotSongsRemoved) {
    TPlayerProcess player(Root(), Media());
    EXPECT_EQ(player.Send("1#108"), "0#") << "not there yet";
    testmedia::Stereo(Media() / "108.wav", 660, 660, kSongSeconds);
    testmedia::Stereo(Root() / "109.wav", 660, 660, kSongSeconds);
    fs::rename(Root() / "109.wav", Media() / "109.wav");
    // The watch tells the player on a thread of its own; within a bound.
    auto playsSoon = [&player](const std::string& id) {
        const std::string started = "5#" + std::to_string(kSongSeconds) + "#" + id;
        std::string reply;
        for (int attempt = 0; attempt < 100 && reply != started; ++attempt) {
            reply = player.Send("1#" + id);
            if (reply != started) {
                ::usleep(100'000);
            }
        }
        return reply;
    };
    EXPECT_EQ(playsSoon("108"), "5#3#108");
    EXPECT_EQ(playsSoon("109"), "5#3#109");
    fs::remove(Media() / "108.wav");
    EXPECT_EQ(player.Send("1#108"), "0#");
    EXPECT_EQ(player.Terminate(), 0);
    fs::remove(Media() / "109.wav");
}

struct TKeyCase {
    int semitones;
    double frequency;
};

void PrintTo(const TKeyCase& row, std::ostream* out) {
    *out << row.semitones << " semitones";
}

class KeyShift : public PlayerWithMedia, public ::testing::WithParamInterface<TKeyCase> {};

// The key is changed while the song is loaded, held before its first sound
// (mpv starts paused); the room's pause and resume then let it play. The
// sound written is the whole song at the new key.
TEST_P(KeyShift, ChangesThePitchAndKeepsTheLength) {
    TPlayerProcess player(Root(), Media(), {"--mpv", "pause=yes"});
    const std::string tone = std::to_string(kTone);
    ASSERT_EQ(player.Send("1#" + tone), "5#3#" + tone);
    const std::string key = std::to_string(GetParam().semitones);
    EXPECT_EQ(player.Send("39#" + key), "3#" + key);
    EXPECT_EQ(player.Send("3#"), "8#0");
    EXPECT_EQ(player.Send("3#"), "8#0");
    EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
    ASSERT_EQ(player.Terminate(), 0);

    TPcmAudio heard = TPcmAudio::Load(player.SoundFile());
    // A tempo that followed the pitch would be 0.3 s off or more; the pitch
    // filter keeps back under a tenth of a second at a song's end.
    EXPECT_NEAR(heard.Seconds(kSampleRate), kSongSeconds, kLengthTolerance);
    for (int channel : {0, 1}) {
        EXPECT_NEAR(heard.Frequency(channel, kSampleRate), GetParam().frequency,
                    GetParam().frequency * 0.01)
            << "channel " << channel;
    }
}

INSTANTIATE_TEST_SUITE_P(Semitones, KeyShift,
                         ::testing::Values(TKeyCase{0, 440.0}, TKeyCase{2, 493.883},
                                           TKeyCase{-3, 369.994}, TKeyCase{6, 622.254}));

struct TVolumeCase {
    int level;
    double gain;  // (level / 100)^3, the curve of soundlevels.h
};

void PrintTo(const TVolumeCase& row, std::ostream* out) {
    *out << "level " << row.level;
}

class MusicVolume : public PlayerWithMedia, public ::testing::WithParamInterface<TVolumeCase> {};

TEST_P(MusicVolume, ScalesTheFileLevelByTheCubicCurve) {
    TPcmAudio heard = PlayToTheEnd(kTone, {"27#" + std::to_string(GetParam().level)});
    for (int channel : {0, 1}) {
        EXPECT_NEAR(heard.Level(channel), kToneLevel * GetParam().gain,
                    kToneLevel * GetParam().gain * 0.05 + 1e-4)
            << "channel " << channel;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, MusicVolume,
                         ::testing::Values(TVolumeCase{100, 1.0}, TVolumeCase{50, 0.125},
                                           TVolumeCase{80, 0.512}, TVolumeCase{0, 0.0}));

struct TSoundModeCase {
    int mode;
    int song;
    double gain;  // the preset's gain at the tone's frequency, soundlevels.h
};

void PrintTo(const TSoundModeCase& row, std::ostream* out) {
    *out << "mode " << row.mode << ", song " << row.song;
}

class SoundMode : public PlayerWithMedia, public ::testing::WithParamInterface<TSoundModeCase> {};

TEST_P(SoundMode, ShapesTheSoundAsItsPresetSays) {
    TPcmAudio heard =
        PlayToTheEnd(GetParam().song, {"27#100", "30#" + std::to_string(GetParam().mode)});
    for (int channel : {0, 1}) {
        EXPECT_NEAR(heard.Level(channel), kToneLevel * GetParam().gain,
                    kToneLevel * GetParam().gain * 0.08)
            << "channel " << channel;
    }
}

// +3 dB is 1.413 times the amplitude, +6 dB 1.995 times.
INSTANTIATE_TEST_SUITE_P(Presets, SoundMode,
                         ::testing::Values(TSoundModeCase{1, kBass, 1.0},
                                           TSoundModeCase{2, kPresence, 1.413},
                                           TSoundModeCase{4, kLowBass, 1.413},
                                           TSoundModeCase{5, kBass, 1.995},
                                           TSoundModeCase{5, kPresence, 1.0}));

struct TVocalCase {
    int song;
    const char* guide;  // "7#" on, "8#" off
    double left;
    double right;
};

void PrintTo(const TVocalCase& row, std::ostream* out) {
    *out << row.song << " with " << row.guide;
}

class VocalGuide : public PlayerWithMedia, public ::testing::WithParamInterface<TVocalCase> {};

TEST_P(VocalGuide, SwitchesTheTrackOrTheChannel) {
    TPcmAudio heard = PlayToTheEnd(GetParam().song, {GetParam().guide});
    EXPECT_NEAR(heard.Frequency(0, kSampleRate), GetParam().left, 5);
    EXPECT_NEAR(heard.Frequency(1, kSampleRate), GetParam().right, 5);
}

INSTANTIATE_TEST_SUITE_P(Files, VocalGuide,
                         ::testing::Values(TVocalCase{kTwoTracks, "7#", 660, 660},
                                           TVocalCase{kTwoTracks, "8#", 440, 440},
                                           TVocalCase{kStereoVocal, "7#", 440, 660},
                                           TVocalCase{kStereoVocal, "8#", 440, 440},
                                           TVocalCase{kMono, "8#", 440, 440}));

}  // namespace
