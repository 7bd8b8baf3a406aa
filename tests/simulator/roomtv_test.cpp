// What the room shows on its TV, with a screen that records every picture: the
// search text while the guest types, a song's title and artist when it starts,
// the next song of the playlist, the idle screen; and how often the room reads
// the next song from its source.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "recordingplayback.h"
#include "simulator/roomstate.h"
#include "simulator/songqueue.h"

// Readable failures: found by the printer next to the types it prints.
void PrintTo(const TSong& song, std::ostream* out) {
    *out << "{" << song.id << ", " << song.lengthSeconds << ", \"" << song.title << "\", \""
         << song.artist << "\"}";
}

void PrintTo(const TTvPicture& picture, std::ostream* out) {
    *out << "{search \"" << picture.searchText << "\", playing ";
    picture.playing ? PrintTo(*picture.playing, out) : void(*out << "nothing");
    *out << (picture.announce ? " announced" : "") << ", next ";
    picture.next ? PrintTo(*picture.next, out) : void(*out << "nothing");
    *out << "}";
}

namespace {

class TRecordingScreen final : public ITvScreen {
public:
    void Show(const TTvPicture& picture) override { shown.push_back(picture); }
    const TTvPicture& Now() const { return shown.back(); }

    std::vector<TTvPicture> shown;
};

// The in-memory playlist, counting how often the next song is looked at.
class TCountingSongs final : public ISongSource {
public:
    std::optional<TSong> TakeNext() override { return queue.TakeNext(); }
    std::optional<TSong> PeekNext() override {
        ++peeks;
        return queue.PeekNext();
    }
    TSong Describe(int songId) override { return queue.Describe(songId); }

    TSongQueue queue;
    int peeks = 0;
};

const TSong kFirst{501, 200, "Bintang Kecil", "Ani"};
const TSong kSecond{502, 180, "Lagu Kedua", "Budi"};
const TSong kThird{503, 170, "Lagu Ketiga", "Citra"};

class RoomTv : public ::testing::Test {
protected:
    void SetUp() override { room.ShowOn(screen); }
    std::string Run(const std::string& command) {
        return room.Execute(command).value_or("(failure)");
    }
    // Moves the song playing on and lets the room look, as the player does
    // between commands.
    void PlayUntil(int second) {
        playback.elapsed = second;
        room.CatchUp();
    }

    TCountingSongs songs;
    TRecordingPlayback playback;
    TRoomState room{songs, playback};
    TRecordingScreen screen;
};

TEST_F(RoomTv, ShowsTheSearchTextWhileItIsTypedAndNotOnceCleared) {
    ASSERT_EQ(screen.shown.size(), 1u) << "the idle screen from the start";
    EXPECT_EQ(screen.Now(), TTvPicture{});

    for (const char* key : {"0#a", "0#{", "0#SP", "0#\\", "0#BC", "0#b"}) {
        Run(key);
    }
    EXPECT_EQ(screen.Now().searchText, "a{ b");
    EXPECT_EQ(screen.shown.size(), 7u) << "one picture per keystroke";

    Run("35#");
    EXPECT_EQ(screen.Now().searchText, "");
    Run("0#x");
    EXPECT_EQ(screen.Now().searchText, "x");
    Run("GI#");
    EXPECT_EQ(screen.Now().searchText, "") << "a logout clears the search";
    EXPECT_FALSE(screen.Now().playing);
}

TEST_F(RoomTv, AnnouncesASongInItsFirstSecondsAndShowsTheNextOneWhileItPlays) {
    songs.queue.Add(kFirst);
    songs.queue.Add(kSecond);
    songs.queue.Add(kThird);
    Run("20#");  // saved into the playlist while nothing plays: the first starts
    TTvPicture expected{"", kFirst, true, kSecond};
    EXPECT_EQ(screen.Now(), expected);

    PlayUntil(TRoomState::kAnnounceSeconds - 1);
    EXPECT_TRUE(screen.Now().announce);
    PlayUntil(TRoomState::kAnnounceSeconds);
    expected.announce = false;
    EXPECT_EQ(screen.Now(), expected) << "the title goes after a few seconds; the next stays";

    playback.songEnded = true;
    room.CatchUp();
    EXPECT_EQ(screen.Now(), (TTvPicture{"", kSecond, true, kThird})) << "followed on by itself";

    Run("2#a");
    EXPECT_EQ(screen.Now(), (TTvPicture{"", kThird, true, std::nullopt})) << "nothing after it";

    Run("4#");  // from the start again: announced again
    PlayUntil(30);
    Run("2#a");
    EXPECT_EQ(screen.Now(), TTvPicture{}) << "the playlist ran out: the idle screen";
}

TEST_F(RoomTv, TheIdleScreenShowsTheNextSongOfThePlaylist) {
    songs.queue.Add(kFirst);
    Run("20#");
    songs.queue.Add(kSecond);
    Run("20#");  // the console saved another song while one plays
    EXPECT_EQ(screen.Now().next, kSecond);

    Run("3#");  // paused: still the song's picture
    EXPECT_EQ(screen.Now().playing, kFirst);

    playback.Stop();  // the song's file went away, say
    room.CatchUp();
    EXPECT_EQ(screen.Now(), (TTvPicture{"", std::nullopt, false, kSecond}));
    Run("0#k");
    EXPECT_EQ(screen.Now(), (TTvPicture{"k", std::nullopt, false, kSecond}));
}

TEST_F(RoomTv, ALogoutLeavesTheIdleScreenWithThePlaylistAsItIsThen) {
    songs.queue.Add(kFirst);
    songs.queue.Add(kSecond);
    Run("GO#");
    EXPECT_EQ(screen.Now().next, kSecond);
    songs.queue.TakeNext();  // the console empties the playlist as the guests leave
    Run("GI#");
    EXPECT_EQ(screen.Now(), TTvPicture{});
}

TEST_F(RoomTv, ReadsTheNextSongWhenItMayHaveChangedNotOnEveryPoll) {
    songs.queue.Add(kFirst);
    songs.queue.Add(kSecond);
    Run("1#" + std::to_string(kThird.id));
    const int afterStart = songs.peeks;
    const size_t pictures = screen.shown.size();
    for (int poll = 0; poll < 50; ++poll) {
        Run("33#");
        room.CatchUp();
    }
    EXPECT_EQ(songs.peeks, afterStart) << "progress polls read nothing";
    EXPECT_EQ(screen.shown.size(), pictures) << "an unchanged picture is not drawn again";

    // Another console may reorder the playlist without a word to the room.
    songs.queue.TakeNext();
    PlayUntil(TRoomState::kNextRefreshSeconds - 1);
    EXPECT_EQ(screen.Now().next, kFirst);
    PlayUntil(TRoomState::kNextRefreshSeconds);
    EXPECT_EQ(screen.Now().next, kSecond) << "read again after a while of the song";
    EXPECT_EQ(songs.peeks, afterStart + 1);

    Run("34#2");  // back near the start: read again, once
    EXPECT_EQ(songs.peeks, afterStart + 2);
}

TEST(RoomWithoutTv, NeverReadsAhead) {
    TCountingSongs songs;
    songs.queue.Add(kFirst);
    songs.queue.Add(kSecond);
    TRecordingPlayback playback;
    TRoomState room(songs, playback);
    for (const char* command : {"20#", "0#a", "33#", "2#a", "GO#", "GI#"}) {
        room.Execute(command);
        room.CatchUp();
    }
    EXPECT_EQ(songs.peeks, 0);
}

}  // namespace
