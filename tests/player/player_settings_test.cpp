// The [RoomPlayer] keys of the playback PC's settings file, read from real
// files: what each value turns into, and the one log line a bad value earns.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "player/playersettings.h"

namespace {

namespace fs = std::filesystem;
using TMpvList = std::vector<std::pair<std::string, std::string>>;

struct TSettingsCase {
    const char* name;
    const char* section;  // the [RoomPlayer] section's lines
    TVocalChannel vocalChannel;
    TMpvList mpvOptions;
    const char* card;
    const char* control;
    const char* logged;  // the one log line's telling part; "" for none
};

void PrintTo(const TSettingsCase& row, std::ostream* out) {
    *out << row.name;
}

class PlayerSettings : public ::testing::TestWithParam<TSettingsCase> {
protected:
    // A file of its own per case: Qt keeps a file it has read, and a file of
    // the same size written within the same second reads as unchanged.
    fs::path WriteSettings(const std::string& roomPlayer) {
        static int written = 0;
        const fs::path file = fs::path(::testing::TempDir()) /
                              ("lyrabox-player-settings-" + std::to_string(::getpid()) + "-" +
                               std::to_string(++written) + ".ini");
        std::ofstream(file) << "[PlayerKaraoke]\nServerLaguHost=127.0.0.1\nDatabaseLagu=lagu\n"
                            << "[RoomPlayer]\n"
                            << roomPlayer;
        return file;
    }
};

TEST_P(PlayerSettings, TurnsTheKeysIntoThePlayersSettings) {
    const TSettingsCase& row = GetParam();
    std::ostringstream log;
    const fs::path file = WriteSettings(row.section);
    const TPlayerSettings settings = ReadPlayerSettings(file.string(), log);
    fs::remove(file);

    EXPECT_EQ(settings.vocalChannel, row.vocalChannel);
    EXPECT_EQ(settings.mpvOptions, row.mpvOptions);
    EXPECT_EQ(settings.microphoneCard, row.card);
    EXPECT_EQ(settings.microphoneControl, row.control);
    const std::string logged = log.str();
    if (std::string(row.logged).empty()) {
        EXPECT_EQ(logged, "");
    } else {
        EXPECT_NE(logged.find(row.logged), std::string::npos) << logged;
        EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
    }
}

const TSettingsCase kCases[] = {
    {"no keys", "", TVocalChannel::Right, {}, "default", "", ""},
    {"every key",
     "VocalChannel=left\nScreen=1\nAudioDevice=alsa/hdmi:CARD=PCH,DEV=0\n"
     "MicrophoneCard=hw:1\nMicrophoneControl=Mic\n",
     TVocalChannel::Left,
     {{"screen", "1"}, {"fs-screen", "1"}, {"audio-device", "alsa/hdmi:CARD=PCH,DEV=0"}},
     "hw:1",
     "Mic",
     ""},
    {"keys in other case",
     "vocalchannel=LEFT\nscreen=0\n",
     TVocalChannel::Left,
     {{"screen", "0"}, {"fs-screen", "0"}},
     "default",
     "",
     ""},
    {"a control named with spaces",
     "MicrophoneControl=Mic Boost\n",
     TVocalChannel::Right,
     {},
     "default",
     "Mic Boost",
     ""},
    {"empty values",
     "Screen=\nAudioDevice=\nMicrophoneCard=\nMicrophoneControl=\n",
     TVocalChannel::Right,
     {},
     "default",
     "",
     ""},
    {"a screen that is no number",
     "Screen=abc\n",
     TVocalChannel::Right,
     {},
     "default",
     "",
     "[RoomPlayer] Screen=abc is not a screen number"},
    {"a negative screen",
     "Screen=-1\n",
     TVocalChannel::Right,
     {},
     "default",
     "",
     "Screen=-1 is not a screen number"},
    {"a screen beyond mpv's",
     "Screen=33\n",
     TVocalChannel::Right,
     {},
     "default",
     "",
     "Screen=33 is not a screen number"},
    {"an unknown vocal channel",
     "VocalChannel=centre\nScreen=2\n",
     TVocalChannel::Right,
     {{"screen", "2"}, {"fs-screen", "2"}},
     "default",
     "",
     "VocalChannel=centre is neither left nor right"},
};

INSTANTIATE_TEST_SUITE_P(Keys, PlayerSettings, ::testing::ValuesIn(kCases));

TEST(PlayerSettingsFile, AFileThatIsMissingHoldsTheDefaults) {
    std::ostringstream log;
    const TPlayerSettings settings = ReadPlayerSettings("/nonexistent/setting.ini", log);
    EXPECT_EQ(settings.vocalChannel, TVocalChannel::Right);
    EXPECT_TRUE(settings.mpvOptions.empty());
    EXPECT_EQ(settings.microphoneControl, "");
}

}  // namespace
