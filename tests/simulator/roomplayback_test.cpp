// The room through the playback seam, with a playback that records what the
// room tells it: the room's sound reaches the playback, songs it cannot play
// are passed over, and a song that follows on by itself starts in its own key.
#include <gtest/gtest.h>

#include <vector>

#include "recordingplayback.h"
#include "simulator/roomstate.h"
#include "simulator/songqueue.h"

namespace {

class RoomThroughPlayback : public ::testing::Test {
protected:
    std::string Run(const char* command) { return room.Execute(command).value_or("(failure)"); }

    TSongQueue songs;
    TRecordingPlayback playback;
    TRoomState room{songs, playback};
};

TEST_F(RoomThroughPlayback, TellsThePlaybackTheRoomsSoundAtOnceAndOnEveryChange) {
    EXPECT_EQ(playback.volumes, std::vector<int>{60});
    EXPECT_EQ(playback.keys, std::vector<int>{0});
    EXPECT_EQ(playback.guides, std::vector<bool>{true});
    EXPECT_EQ(playback.modes, std::vector<int>{1});

    Run("27#150");
    Run("39#-2");
    Run("11#");
    Run("13#");
    Run("8#");
    Run("30#4");
    Run("30#9");  // refused: nothing changes
    EXPECT_EQ(playback.volumes, (std::vector<int>{60, 100}));
    EXPECT_EQ(playback.keys, (std::vector<int>{0, -2, -3, -2}));
    EXPECT_EQ(playback.guides, (std::vector<bool>{true, false}));
    EXPECT_EQ(playback.modes, (std::vector<int>{1, 4}));
}

TEST_F(RoomThroughPlayback, PassesOverSongsThePlaybackCannotPlay) {
    songs.Add({813, 200});
    songs.Add({814, 180});
    songs.Add({815, 170});
    playback.unplayable = {812, 813};
    EXPECT_EQ(Run("1#812"), "5#180#814") << "a song picked by id without media: the next entry";
    EXPECT_EQ(playback.started, (std::vector<int>{812, 813, 814}));
    playback.unplayable = {815};
    EXPECT_EQ(Run("2#a"), "0#") << "nothing playable left";
    EXPECT_FALSE(room.Playback().Playing());
}

TEST_F(RoomThroughPlayback, ASongThatFollowsOnByItselfStartsInItsOwnKey) {
    songs.Add({813, 200});
    Run("1#812");
    EXPECT_EQ(Run("39#3"), "3#3");
    playback.songEnded = true;
    EXPECT_EQ(Run("33#"), "5#200#813");
    EXPECT_EQ(playback.keys.back(), 0);
    EXPECT_EQ(Run("13#"), "3#1");
}

}  // namespace
