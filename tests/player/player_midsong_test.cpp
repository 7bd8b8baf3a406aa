// Changes made in the middle of a song, measured in the sound the player
// wrote. The sound goes through a FIFO that the test reads: the test reads the
// first second, stops reading (so mpv stops a little further on, its buffers
// full), sends the command, then reads the rest. The first second read is
// before the change whatever the speed at which mpv writes; what the change
// did shows in the song's last seconds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pcm_audio.h"
#include "pcm_fifo.h"
#include "player_process.h"
#include "test_media.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSteps = 201;        // 440, 550, 660 Hz, three seconds each
constexpr int kTwoTracks = 202;    // track 1 (guide vocal) 660 Hz, track 2 440 Hz, 6 s
constexpr int kStereoVocal = 203;  // 440 Hz left (music), 660 Hz right (guide vocal), 6 s
constexpr double kFirstRead = 1.0;
// mpv's buffers and the pipe's hold well under two seconds of sound: the
// command takes effect before second kFirstRead + kBuffered of the song.
constexpr double kBuffered = 2.0;
constexpr double kLengthTolerance = 0.15;

struct TCommand {
    std::string command;
    std::string reply;
};

class PlayerMidSong : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(Root());
        fs::create_directories(Media());
        testmedia::Steps(Media() / "201.wav", {440, 550, 660}, 3);
        testmedia::TwoTracks(Media() / "202.mka", 660, 440, 6);
        testmedia::Stereo(Media() / "203.wav", 440, 660, 6);
    }
    static void TearDownTestSuite() { fs::remove_all(Root()); }

    static fs::path Root() {
        return fs::path(::testing::TempDir()) /
               ("lyrabox-player-midsong-" + std::to_string(::getpid()));
    }
    static fs::path Media() { return Root() / "media"; }

    // Starts song, reads its first second, sends the commands (each must get
    // its reply), and returns all that was played to the song's end.
    // realTime reads the sound as fast as a sound card plays it.
    static TPcmAudio ChangeAfterTheFirstSecond(int song, int seconds,
                                               const std::vector<TCommand>& commands,
                                               bool realTime = false) {
        TPcmFifo sound(Root() / "sound.fifo", Root() / "heard.pcm", realTime);
        TPlayerProcess player(Root(), Media(), {"--mpv", "ao-pcm-file=" + sound.Path().string()});
        const std::string id = std::to_string(song);
        EXPECT_EQ(player.Send("1#" + id), "5#" + std::to_string(seconds) + "#" + id);
        EXPECT_TRUE(sound.Read(kFirstRead));
        for (const TCommand& command : commands) {
            EXPECT_EQ(player.Send(command.command), command.reply) << command.command;
        }
        sound.ReadOnward();
        EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
        EXPECT_EQ(player.Terminate(), 0);
        sound.Finish();
        return TPcmAudio::Load(sound.Heard());
    }

    // The frequency of the sound from second to second, both channels.
    static void ExpectTone(const TPcmAudio& heard, double from, double to, double left,
                           double right, const char* what) {
        const TPcmAudio part = heard.Slice(from, to, kSampleRate);
        EXPECT_NEAR(part.Frequency(0, kSampleRate), left, 5) << what << ", left";
        EXPECT_NEAR(part.Frequency(1, kSampleRate), right, 5) << what << ", right";
    }
};

// A pause in the middle neither drops nor repeats any of the song: the
// sound is the whole song once, its parts in order. While paused the song's
// elapsed time stands still.
TEST_F(PlayerMidSong, APauseKeepsTheSongWhole) {
    TPcmFifo sound(Root() / "sound.fifo", Root() / "heard.pcm");
    TPlayerProcess player(Root(), Media(), {"--mpv", "ao-pcm-file=" + sound.Path().string()});
    ASSERT_EQ(player.Send("1#201"), "5#9#201");
    ASSERT_TRUE(sound.Read(kFirstRead));
    ASSERT_EQ(player.Send("3#").rfind("8#", 0), 0u);
    // What mpv had already written is read while it stays paused; unpaused,
    // it would write the rest of the song in far less than this second.
    sound.ReadOnward();
    ::usleep(1'000'000);
    const std::string progress = player.Send("33#");
    ASSERT_EQ(progress.rfind("7#", 0), 0u) << progress;
    ::usleep(500'000);
    EXPECT_EQ(player.Send("33#"), progress) << "the time stood still";
    EXPECT_EQ(player.Send("3#"), "8#" + progress.substr(2, progress.find('#', 2) - 2));
    EXPECT_EQ(player.ProgressUntilIdle().back(), "0#");
    EXPECT_EQ(player.Terminate(), 0);
    sound.Finish();

    const TPcmAudio heard = TPcmAudio::Load(sound.Heard());
    EXPECT_NEAR(heard.Seconds(kSampleRate), 9, kLengthTolerance);
    ExpectTone(heard, 0.2, 2.8, 440, 440, "the first part");
    ExpectTone(heard, 3.2, 5.8, 550, 550, "the second part");
    ExpectTone(heard, 6.2, 8.8, 660, 660, "the last part");
}

// A seek from the first part to the last skips the middle: nothing of it is
// heard, and the sound ends with the song's last part played whole.
TEST_F(PlayerMidSong, ASeekSkipsToTheSecondAsked) {
    const TPcmAudio heard = ChangeAfterTheFirstSecond(kSteps, 9, {{"34#6", "7#6#9"}});
    const double seconds = heard.Seconds(kSampleRate);
    EXPECT_GT(seconds, kFirstRead + 3 - kLengthTolerance);
    EXPECT_LT(seconds, kFirstRead + kBuffered + 3);
    ExpectTone(heard, 0, kFirstRead, 440, 440, "before the seek");
    ExpectTone(heard, seconds - 2.8, seconds - 0.2, 660, 660, "after the seek");
    for (double from = 0; from + 0.25 <= seconds; from += 0.25) {
        const TPcmAudio window = heard.Slice(from, from + 0.25, kSampleRate);
        EXPECT_GT(std::abs(window.Frequency(0, kSampleRate) - 550), 20)
            << "the skipped part heard at second " << from;
    }
}

struct TVocalCase {
    const char* name;
    int song;
    double onLeft, onRight;    // guide on, as the song starts
    double offLeft, offRight;  // guide off
    // Sound written twice: a new track starts where mpv's clock is, which a
    // written file lags by what mpv had buffered (a sound card's buffer is
    // dropped at the switch instead).
    double repeated;
};

void PrintTo(const TVocalCase& row, std::ostream* out) {
    *out << row.name;
}

class VocalGuideMidSong : public PlayerMidSong, public ::testing::WithParamInterface<TVocalCase> {};

// Switching the guide off while the song plays changes the track or channel
// from then on, without restarting the song. Read as a sound card plays: mpv
// picks the new track up where the sound heard has got to.
TEST_P(VocalGuideMidSong, SwitchesFromThenOnWithoutRestarting) {
    const TVocalCase& row = GetParam();
    const TPcmAudio heard = ChangeAfterTheFirstSecond(row.song, 6, {{"8#", "6#"}}, true);
    const double seconds = heard.Seconds(kSampleRate);
    EXPECT_GT(seconds, 6 - kLengthTolerance);
    EXPECT_LT(seconds, 6 + kLengthTolerance + row.repeated);
    ExpectTone(heard, 0, kFirstRead, row.onLeft, row.onRight, "before the switch");
    ExpectTone(heard, kFirstRead + kBuffered, seconds, row.offLeft, row.offRight,
               "after the switch");
}

INSTANTIATE_TEST_SUITE_P(
    Files, VocalGuideMidSong,
    ::testing::Values(TVocalCase{"two tracks", kTwoTracks, 660, 660, 440, 440, kBuffered},
                      TVocalCase{"stereo", kStereoVocal, 440, 660, 440, 440, 0}));

}  // namespace
