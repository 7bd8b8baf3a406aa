// The simulated room's answers: one per command code, and the playback clock.
#include <gtest/gtest.h>

#include "manualclock.h"
#include "simulator/roomstate.h"
#include "simulator/songqueue.h"

namespace {

struct TCommandCase {
    const char* command;
    const char* reply;  // nullptr: the failure marker
};

void PrintTo(const TCommandCase& row, std::ostream* out) {
    *out << "\"" << row.command << "\"";
}

class FreshRoomAnswers : public ::testing::TestWithParam<TCommandCase> {};

TEST_P(FreshRoomAnswers, WithTheStatusTheConsoleActsOn) {
    TSongQueue songs;
    TManualClock clock;
    TRoomState room(songs, clock);
    std::optional<std::string> reply = room.Execute(GetParam().command);
    if (GetParam().reply == nullptr) {
        EXPECT_FALSE(reply.has_value()) << *reply;
    } else {
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(*reply, GetParam().reply);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, FreshRoomAnswers,
    ::testing::Values(
        TCommandCase{"38#", "1#60;5;0"}, TCommandCase{"GO#", "1#60;5;0"}, TCommandCase{"GI#", "0#"},
        TCommandCase{"27#75", "9#75"}, TCommandCase{"27#150", "9#100"},
        TCommandCase{"27#-5", "9#0"}, TCommandCase{"27#loud", nullptr},
        TCommandCase{"31#7", "10#7"}, TCommandCase{"31#99", "10#10"}, TCommandCase{"32#1", "2#6"},
        TCommandCase{"32#2", "2#4"}, TCommandCase{"32#3", nullptr}, TCommandCase{"39#2", "3#2"},
        TCommandCase{"39#-9", "3#-6"}, TCommandCase{"11#", "3#-1"}, TCommandCase{"13#", "3#1"},
        TCommandCase{"30#1", "6#"}, TCommandCase{"30#5", "6#"}, TCommandCase{"30#6", nullptr},
        TCommandCase{"29#1", "6#"}, TCommandCase{"29#0", "6#"}, TCommandCase{"29#2", nullptr},
        TCommandCase{"40#0", "6#"}, TCommandCase{"40#1", "6#"}, TCommandCase{"40#3", "6#"},
        TCommandCase{"40#2", nullptr}, TCommandCase{"0#a", "6#"}, TCommandCase{"0##", "6#"},
        TCommandCase{"0#SP", "6#"}, TCommandCase{"0#BC", "6#"}, TCommandCase{"0#", nullptr},
        TCommandCase{"35#", "6#"}, TCommandCase{"7#", "6#"}, TCommandCase{"8#", "6#"},
        TCommandCase{"21#", "6#"}, TCommandCase{"28#0", "6#"}, TCommandCase{"20#", "0#"},
        TCommandCase{"26#127.0.0.1", "0#"}, TCommandCase{"33#", "0#"}, TCommandCase{"34#20", "0#"},
        TCommandCase{"3#", "0#"}, TCommandCase{"4#", "0#"}, TCommandCase{"6#", "0#"},
        TCommandCase{"2#a", "0#"}, TCommandCase{"1#0", nullptr}, TCommandCase{"37#x", nullptr},
        TCommandCase{"99#", nullptr}, TCommandCase{"GO", nullptr}, TCommandCase{"", nullptr}));

class RoomPlayback : public ::testing::Test {
protected:
    std::string Run(const char* command) { return room.Execute(command).value_or("(failure)"); }

    TSongQueue songs;
    TManualClock clock;
    TRoomSettings settings;
    TRoomState room{songs, clock, settings};
};

TEST_F(RoomPlayback, ClockRunsPausesSeeksAndRestarts) {
    const std::string length = std::to_string(songs.Describe(812).lengthSeconds);
    EXPECT_EQ(Run("1#812"), "5#" + length + "#812");
    clock.AdvanceSeconds(95);
    EXPECT_EQ(Run("33#"), "7#95#" + length);
    EXPECT_EQ(Run("3#"), "8#95");
    clock.AdvanceSeconds(30);
    EXPECT_EQ(Run("33#"), "7#95#" + length) << "paused";
    EXPECT_EQ(Run("3#"), "8#95");
    clock.AdvanceSeconds(5);
    EXPECT_EQ(Run("33#"), "7#100#" + length);
    EXPECT_EQ(Run("34#120"), "7#120#" + length);
    EXPECT_EQ(Run("4#"), "4#");
    EXPECT_EQ(Run("33#"), "7#0#" + length);
    EXPECT_EQ(Run("26#10.1.1.9"), "11#812;" + length + ";0;5");
    EXPECT_EQ(room.TabletAddress(), "10.1.1.9");
    EXPECT_EQ(Run("34#99999"), "7#" + length + "#" + length) << "a seek stays within the song";
    EXPECT_EQ(Run("33#"), "0#") << "seeking to the end ends the song";
}

TEST_F(RoomPlayback, AnEndedSongGivesWayToTheNextAndTheConsoleLearnsItsLength) {
    songs.Add({813, 200});
    EXPECT_EQ(Run("1#812"), "5#" + std::to_string(songs.Describe(812).lengthSeconds) + "#812");
    clock.AdvanceSeconds(songs.Describe(812).lengthSeconds + 10);
    EXPECT_EQ(Run("33#"), "5#200#813");
    EXPECT_EQ(Run("33#"), "7#10#200");
    clock.AdvanceSeconds(200);
    EXPECT_EQ(Run("33#"), "0#") << "the playlist ran out";
}

TEST_F(RoomPlayback, NextAndSavedPlaylistTakeTheQueueInOrder) {
    songs.Add({813, 200});
    songs.Add({814, 180});
    EXPECT_EQ(Run("20#"), "5#200#813") << "nothing played: the saved song starts";
    EXPECT_EQ(Run("20#"), "6#") << "a song plays: the new one waits";
    EXPECT_EQ(Run("2#a"), "5#180#814");
    EXPECT_EQ(Run("2#a"), "0#");
    EXPECT_FALSE(room.Playback().Playing());
}

// A key shift is the singer's for one song: every song starts in its own key,
// however it starts.
TEST_F(RoomPlayback, EverySongStartsInItsOwnKey) {
    const char* starts[] = {"37#812", "1#812", "2#a"};
    for (const char* start : starts) {
        Run("39#3");
        songs.Add({814, 180});
        EXPECT_EQ(Run(start).rfind("5#", 0), 0u) << start;
        EXPECT_EQ(Run("13#"), "3#1") << start << ": one up from its own key";
    }
}

TEST_F(RoomPlayback, LateLengthComesWithTheFirstProgressRequest) {
    room.Settings().lengthLate = true;
    EXPECT_EQ(Run("37#812"), "5#0#812");
    clock.AdvanceSeconds(3);
    EXPECT_EQ(Run("33#"), "5#" + std::to_string(songs.Describe(812).lengthSeconds) + "#812");
    EXPECT_EQ(Run("33#").rfind("7#3#", 0), 0u);
}

TEST_F(RoomPlayback, SearchKeysEditTheSearchTextAndLogoutStopsEverything) {
    for (const char* key : {"0#a", "0#b", "0#SP", "0##", "0#c", "0#BC"}) {
        Run(key);
    }
    EXPECT_EQ(room.SearchText(), "ab #");
    Run("35#");
    EXPECT_EQ(room.SearchText(), "");
    Run("1#812");
    EXPECT_EQ(Run("GI#"), "0#");
    EXPECT_FALSE(room.Playback().Playing());
}

TEST_F(RoomPlayback, TheConditionFlagIsReportedWithTheRoomSettings) {
    room.Settings().condition = "1";
    Run("27#40");
    Run("31#3");
    EXPECT_EQ(Run("38#"), "1#40;3;1");
}

}  // namespace
