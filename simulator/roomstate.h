#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/roomclock.h"
#include "simulator/roomplayback.h"
#include "simulator/songsource.h"
#include "simulator/tvscreen.h"

// What a room starts with; a script may set any of it.
struct TRoomSettings {
    int volume = 60;
    int microphone = 5;
    int key = 0;
    int soundMode = 1;
    bool vocalGuide = true;
    std::string condition = "0";
    // A song that starts answers with length 0 ("still loading"); the next
    // progress request brings the length.
    bool lengthLate = false;
};

// The room player's state and its answer to every command code of the
// console. Execute returns the reply text for the value "String", or nothing
// when the room player cannot carry the command out (the failure marker).
class TRoomState {
public:
    static constexpr int kMaxVolume = 100;
    static constexpr int kMaxMicrophone = 10;
    static constexpr int kMaxKeyShift = 6;
    // How long a song's title and artist stay on the TV once it starts.
    static constexpr int kAnnounceSeconds = 5;
    // The next song shown on the TV is read again at every song start, when
    // the console says the playlist changed, and after this much of a song.
    static constexpr int kNextRefreshSeconds = 15;

    // The simulator's room: songs play on a clock, nothing is heard.
    TRoomState(ISongSource& songs, IRoomClock& clock, TRoomSettings settings = {});
    // A room that plays through playback, which learns the room's sound at once.
    TRoomState(ISongSource& songs, IRoomPlayback& playback, TRoomSettings settings = {});
    ~TRoomState();
    TRoomState(const TRoomState&) = delete;
    TRoomState& operator=(const TRoomState&) = delete;

    std::optional<std::string> Execute(std::string_view command);
    // Lets playback catch up (a song that ended gives way to the next); every
    // command does so first, and a player that plays calls it between them too.
    void CatchUp();
    // From now on the room keeps screen's picture up to date, after every
    // command and every catch-up; the room without one never reads ahead.
    void ShowOn(ITvScreen& screen);

    const TRoomSettings& Settings() const { return FSettings; }
    TRoomSettings& Settings() { return FSettings; }
    const IRoomPlayback& Playback() const { return FPlayback; }
    const std::string& SearchText() const { return FSearchText; }
    const std::string& TabletAddress() const { return FTabletAddress; }

private:
    using THandler = std::optional<std::string> (TRoomState::*)(std::string_view argument);

    std::optional<std::string> SearchKey(std::string_view argument);
    std::optional<std::string> ClearSearch(std::string_view argument);
    std::optional<std::string> PlaySong(std::string_view argument);
    std::optional<std::string> Next(std::string_view argument);
    std::optional<std::string> Pause(std::string_view argument);
    std::optional<std::string> Restart(std::string_view argument);
    std::optional<std::string> VocalOn(std::string_view argument);
    std::optional<std::string> VocalOff(std::string_view argument);
    std::optional<std::string> KeyDown(std::string_view argument);
    std::optional<std::string> KeyUp(std::string_view argument);
    std::optional<std::string> SetKey(std::string_view argument);
    std::optional<std::string> PlaylistSaved(std::string_view argument);
    std::optional<std::string> Acknowledge(std::string_view argument);
    std::optional<std::string> RememberTablet(std::string_view argument);
    std::optional<std::string> Volume(std::string_view argument);
    std::optional<std::string> SearchBy(std::string_view argument);
    std::optional<std::string> SoundMode(std::string_view argument);
    std::optional<std::string> Microphone(std::string_view argument);
    std::optional<std::string> MicrophoneStep(std::string_view argument);
    std::optional<std::string> Progress(std::string_view argument);
    std::optional<std::string> Seek(std::string_view argument);
    std::optional<std::string> ListMode(std::string_view argument);
    std::optional<std::string> RoomSettings(std::string_view argument);
    std::optional<std::string> BookingStarted(std::string_view argument);
    std::optional<std::string> Logout(std::string_view argument);

    std::string StartSong(std::optional<TSong> song);
    void SetKeyShift(int semitones);
    std::string NothingPlays();
    std::string SongStarted();
    std::string KeyShown() const;
    std::string ProgressShown() const;
    void UpdateScreen();
    TTvPicture Picture();

    static const std::map<std::string, THandler, std::less<>>& Handlers();

    ISongSource& FSongs;
    TRoomSettings FSettings;
    // The clock playback when the room makes its own; empty when it was given one.
    std::unique_ptr<IRoomPlayback> FOwnPlayback;
    IRoomPlayback& FPlayback;
    std::string FSearchText;
    std::string FTabletAddress;
    // The progress answer brings the song's length first when the console has
    // not had it yet: a late length, or a song that followed on by itself.
    bool FLengthOwed = false;

    ITvScreen* FScreen = nullptr;
    std::optional<TTvPicture> FShown;
    // The next song as last read, and when: it is read again when stale.
    std::optional<TSong> FNext;
    bool FNextStale = true;
    int FNextReadAtSecond = 0;
};
