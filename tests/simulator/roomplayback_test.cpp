// The room through the playback seam, with a playback that records what the
// room tells it: the room's sound reaches the playback, songs it cannot play
// are passed over, and a song that follows on by itself starts in its own key.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "simulator/roomplayback.h"
#include "simulator/roomstate.h"
#include "simulator/songqueue.h"

namespace {

class TRecordingPlayback final : public IRoomPlayback {
public:
    bool Playing() const override { return FSong.has_value(); }
    const TSong& Song() const override { return *FSong; }
    bool Paused() const override { return false; }
    int ElapsedSeconds() const override { return 0; }

    bool Start(TSong song) override {
        started.push_back(song.id);
        if (unplayable.count(song.id) > 0) {
            FSong.reset();
            return false;
        }
        FSong = song;
        return true;
    }
    void Stop() override { FSong.reset(); }
    void TogglePause() override {}
    void Seek(int) override {}
    bool CatchUp(ISongSource& songs) override {
        if (!FSong || !songEnded) {
            return false;
        }
        songEnded = false;
        StartFirstPlayable(*this, songs.TakeNext(), songs);
        return true;
    }

    void SetVolume(int level) override { volumes.push_back(level); }
    void SetKey(int semitones) override { keys.push_back(semitones); }
    void SetVocalGuide(bool on) override { guides.push_back(on); }
    void SetSoundMode(int mode) override { modes.push_back(mode); }

    std::set<int> unplayable;
    bool songEnded = false;
    std::vector<int> started, volumes, keys, modes;
    std::vector<bool> guides;

private:
    std::optional<TSong> FSong;
};

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
