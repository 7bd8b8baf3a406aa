// The microphone level on an ALSA mixer control: the mapping of the room's
// 0..10 over a control's range, and the mixer against real ALSA, whose
// controls here come from the test plugin (no sound hardware is needed).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "alsa_test_config.h"
#include "player/microphonemixer.h"

namespace {

namespace fs = std::filesystem;

struct TMappingCase {
    int level;
    long minimum;
    long maximum;
    long value;
};

void PrintTo(const TMappingCase& row, std::ostream* out) {
    *out << "level " << row.level << " over " << row.minimum << ".." << row.maximum;
}

class MicrophoneMapping : public ::testing::TestWithParam<TMappingCase> {};

TEST_P(MicrophoneMapping, SpreadsTheLevelsOverTheControlsRange) {
    const TMappingCase& row = GetParam();
    EXPECT_EQ(MixerValue(row.level, row.minimum, row.maximum), row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, MicrophoneMapping,
    ::testing::Values(TMappingCase{0, 0, 31, 0}, TMappingCase{10, 0, 31, 31},
                      TMappingCase{3, 0, 31, 9}, TMappingCase{7, 0, 31, 22},
                      TMappingCase{0, -20, 40, -20}, TMappingCase{5, -20, 40, 10},
                      TMappingCase{10, -20, 40, 40}, TMappingCase{11, 0, 100, 100},
                      TMappingCase{-1, 0, 100, 0}, TMappingCase{5, 0, 0, 0},
                      TMappingCase{10, -9000, 600, 600}, TMappingCase{1, -9000, 600, -8040}));

class MicrophoneMixer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(Folder());
        ::setenv("ALSA_CONFIG_PATH", alsatest::WriteConfig(Folder()).c_str(), 1);
    }
    static void TearDownTestSuite() { fs::remove_all(Folder()); }

    static fs::path Folder() {
        return fs::path(::testing::TempDir()) /
               ("lyrabox-microphone-" + std::to_string(::getpid()));
    }

    void SetUp() override {
        fs::remove(alsatest::ValuesFile(Folder(), "testmic"));
        fs::remove(alsatest::ValuesFile(Folder(), "testcapture"));
    }

    static int Lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
};

TEST_F(MicrophoneMixer, SetsThePlaybackVolumeOfTheControl) {
    std::ostringstream log;
    TMicrophoneMixer mixer("testmic", "Mic", log);
    ASSERT_TRUE(mixer.Found()) << log.str();
    mixer.SetLevel(5);
    EXPECT_EQ(alsatest::Values(Folder(), "testmic"), "10 10");
    mixer.SetLevel(10);
    EXPECT_EQ(alsatest::Values(Folder(), "testmic"), "40 40");
    mixer.SetLevel(0);
    EXPECT_EQ(alsatest::Values(Folder(), "testmic"), "-20 -20");
    EXPECT_EQ(Lines(log.str()), 1) << log.str();
}

TEST_F(MicrophoneMixer, SetsTheCaptureVolumeOfAControlWithoutPlayback) {
    std::ostringstream log;
    TMicrophoneMixer mixer("testcapture", "Mic", log);
    ASSERT_TRUE(mixer.Found()) << log.str();
    mixer.SetLevel(3);
    EXPECT_EQ(alsatest::Values(Folder(), "testcapture"), "-2 -2");
    EXPECT_NE(log.str().find("capture volume"), std::string::npos) << log.str();
}

struct TAbsentCase {
    const char* name;
    const char* card;
    const char* control;
    const char* logged;
};

void PrintTo(const TAbsentCase& row, std::ostream* out) {
    *out << row.name;
}

class MicrophoneWithoutControl : public MicrophoneMixer,
                                 public ::testing::WithParamInterface<TAbsentCase> {};

// The level stays a number: one line at start, nothing per level set, and
// no control anywhere is touched.
TEST_P(MicrophoneWithoutControl, SaysSoOnceAndKeepsTheLevelAsANumber) {
    std::ostringstream log;
    TMicrophoneMixer mixer(GetParam().card, GetParam().control, log);
    EXPECT_FALSE(mixer.Found());
    for (int level : {4, 10, 0}) {
        mixer.SetLevel(level);
    }
    const std::string logged = log.str();
    EXPECT_EQ(Lines(logged), 1) << logged;
    EXPECT_NE(logged.find(GetParam().logged), std::string::npos) << logged;
    EXPECT_NE(logged.find("the microphone level is kept as a number"), std::string::npos) << logged;
    EXPECT_EQ(alsatest::Values(Folder(), "testmic"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Absent, MicrophoneWithoutControl,
    ::testing::Values(TAbsentCase{"no control named", "testmic", "",
                                  "no [RoomPlayer] MicrophoneControl"},
                      TAbsentCase{"a control the card lacks", "testmic", "Line",
                                  "the mixer of testmic has no control \"Line\""},
                      TAbsentCase{"a card that is not there", "nosuchcard", "Mic",
                                  "the mixer of nosuchcard cannot be opened"}));

}  // namespace
