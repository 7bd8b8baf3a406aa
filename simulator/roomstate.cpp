#include "simulator/roomstate.h"

#include <algorithm>
#include <charconv>

#include "simulator/playback.h"

namespace {

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

const std::string kAcknowledged = "6#";

// A level the console sets: a number, kept within its range; the reply shows
// the level after the status.
std::optional<std::string> SetLevel(std::string_view argument, int& level, int minimum, int maximum,
                                    const char* status) {
    auto value = ParseInt(argument);
    if (!value) {
        return std::nullopt;
    }
    level = std::clamp(*value, minimum, maximum);
    return status + std::to_string(level);
}

}  // namespace

TRoomState::TRoomState(ISongSource& songs, IRoomClock& clock, TRoomSettings settings)
    : FSongs(songs),
      FSettings(std::move(settings)),
      FOwnPlayback(std::make_unique<TClockPlayback>(clock)),
      FPlayback(*FOwnPlayback) {}

TRoomState::TRoomState(ISongSource& songs, IRoomPlayback& playback, TRoomSettings settings)
    : FSongs(songs), FSettings(std::move(settings)), FPlayback(playback) {
    FPlayback.SetVolume(FSettings.volume);
    FPlayback.SetKey(FSettings.key);
    FPlayback.SetVocalGuide(FSettings.vocalGuide);
    FPlayback.SetSoundMode(FSettings.soundMode);
    FPlayback.SetMicrophone(FSettings.microphone);
}

TRoomState::~TRoomState() = default;

const std::map<std::string, TRoomState::THandler, std::less<>>& TRoomState::Handlers() {
    static const std::map<std::string, THandler, std::less<>> handlers = {
        {"0", &TRoomState::SearchKey},
        {"1", &TRoomState::PlaySong},
        {"2", &TRoomState::Next},
        {"3", &TRoomState::Pause},
        {"4", &TRoomState::Restart},
        {"6", &TRoomState::Restart},
        {"7", &TRoomState::VocalOn},
        {"8", &TRoomState::VocalOff},
        {"11", &TRoomState::KeyDown},
        {"13", &TRoomState::KeyUp},
        {"20", &TRoomState::PlaylistSaved},
        {"21", &TRoomState::Acknowledge},
        {"26", &TRoomState::RememberTablet},
        {"27", &TRoomState::Volume},
        {"28", &TRoomState::Acknowledge},
        {"29", &TRoomState::SearchBy},
        {"30", &TRoomState::SoundMode},
        {"31", &TRoomState::Microphone},
        {"32", &TRoomState::MicrophoneStep},
        {"33", &TRoomState::Progress},
        {"34", &TRoomState::Seek},
        {"35", &TRoomState::ClearSearch},
        {"37", &TRoomState::PlaySong},
        {"38", &TRoomState::RoomSettings},
        {"39", &TRoomState::SetKey},
        {"40", &TRoomState::ListMode},
        {"GO", &TRoomState::BookingStarted},
        {"GI", &TRoomState::Logout},
    };
    return handlers;
}

void TRoomState::CatchUp() {
    // The console learns of a song that followed on by itself with its next
    // progress question.
    if (FPlayback.CatchUp(FSongs)) {
        FLengthOwed = true;
        FNextStale = true;
        // A song that followed on by itself starts in its own key too.
        SetKeyShift(0);
    }
    UpdateScreen();
}

void TRoomState::ShowOn(ITvScreen& screen) {
    FScreen = &screen;
    FShown.reset();
    FNextStale = true;
    UpdateScreen();
}

std::optional<std::string> TRoomState::Execute(std::string_view command) {
    CatchUp();
    size_t hash = command.find('#');
    if (hash == std::string_view::npos) {
        return std::nullopt;
    }
    auto handler = Handlers().find(command.substr(0, hash));
    if (handler == Handlers().end()) {
        return std::nullopt;
    }
    std::optional<std::string> reply = (this->*handler->second)(command.substr(hash + 1));
    UpdateScreen();
    return reply;
}

TTvPicture TRoomState::Picture() {
    const bool playing = FPlayback.Playing();
    const int elapsed = playing ? FPlayback.ElapsedSeconds() : 0;
    // Read again after a while of the song as well: another console may have
    // reordered the playlist without a word to the room player.
    if (!FNextStale && playing &&
        (elapsed < FNextReadAtSecond || elapsed - FNextReadAtSecond >= kNextRefreshSeconds)) {
        FNextStale = true;
    }
    if (FNextStale) {
        FNext = FSongs.PeekNext();
        FNextStale = false;
        FNextReadAtSecond = elapsed;
    }
    TTvPicture picture;
    picture.searchText = FSearchText;
    if (playing) {
        picture.playing = FPlayback.Song();
        picture.announce = elapsed < kAnnounceSeconds;
    }
    picture.next = FNext;
    return picture;
}

void TRoomState::UpdateScreen() {
    if (FScreen == nullptr) {
        return;
    }
    TTvPicture picture = Picture();
    if (picture != FShown) {
        FScreen->Show(picture);
        FShown = std::move(picture);
    }
}

std::string TRoomState::NothingPlays() {
    return "0#";
}

std::string TRoomState::SongStarted() {
    const TSong& song = FPlayback.Song();
    int length = FLengthOwed ? 0 : song.lengthSeconds;
    return "5#" + std::to_string(length) + "#" + std::to_string(song.id);
}

std::string TRoomState::StartSong(std::optional<TSong> song) {
    // Whatever happens, songs have left the playlist.
    FNextStale = true;
    if (!StartFirstPlayable(FPlayback, song, FSongs)) {
        return NothingPlays();
    }
    // A key shift is the singer's for one song: the next starts in its own key.
    SetKeyShift(0);
    // A backend that is still loading the song does not know its length yet:
    // the console learns it with the next progress answer.
    FLengthOwed = FSettings.lengthLate || FPlayback.Song().lengthSeconds <= 0;
    return SongStarted();
}

void TRoomState::SetKeyShift(int semitones) {
    FSettings.key = std::clamp(semitones, -kMaxKeyShift, kMaxKeyShift);
    FPlayback.SetKey(FSettings.key);
}

std::string TRoomState::ProgressShown() const {
    return "7#" + std::to_string(FPlayback.ElapsedSeconds()) + "#" +
           std::to_string(FPlayback.Song().lengthSeconds);
}

std::string TRoomState::KeyShown() const {
    return "3#" + std::to_string(FSettings.key);
}

std::optional<std::string> TRoomState::SearchKey(std::string_view argument) {
    if (argument == "SP") {
        FSearchText += ' ';
    } else if (argument == "BC") {
        if (!FSearchText.empty()) {
            FSearchText.pop_back();
        }
    } else if (argument.size() == 1) {
        FSearchText += argument;
    } else {
        return std::nullopt;
    }
    return kAcknowledged;
}

std::optional<std::string> TRoomState::ClearSearch(std::string_view) {
    FSearchText.clear();
    return kAcknowledged;
}

std::optional<std::string> TRoomState::PlaySong(std::string_view argument) {
    auto id = ParseInt(argument);
    if (!id || *id <= 0) {
        return std::nullopt;
    }
    return StartSong(FSongs.Describe(*id));
}

std::optional<std::string> TRoomState::Next(std::string_view) {
    return StartSong(FSongs.TakeNext());
}

std::optional<std::string> TRoomState::Pause(std::string_view) {
    if (!FPlayback.Playing()) {
        return NothingPlays();
    }
    FPlayback.TogglePause();
    return "8#" + std::to_string(FPlayback.ElapsedSeconds());
}

std::optional<std::string> TRoomState::Restart(std::string_view) {
    if (!FPlayback.Playing()) {
        return NothingPlays();
    }
    if (FPlayback.Paused()) {
        FPlayback.TogglePause();
    }
    FPlayback.Seek(0);
    return "4#";
}

std::optional<std::string> TRoomState::VocalOn(std::string_view) {
    FSettings.vocalGuide = true;
    FPlayback.SetVocalGuide(true);
    return kAcknowledged;
}

std::optional<std::string> TRoomState::VocalOff(std::string_view) {
    FSettings.vocalGuide = false;
    FPlayback.SetVocalGuide(false);
    return kAcknowledged;
}

std::optional<std::string> TRoomState::KeyDown(std::string_view) {
    SetKeyShift(FSettings.key - 1);
    return KeyShown();
}

std::optional<std::string> TRoomState::KeyUp(std::string_view) {
    SetKeyShift(FSettings.key + 1);
    return KeyShown();
}

std::optional<std::string> TRoomState::SetKey(std::string_view argument) {
    auto reply = SetLevel(argument, FSettings.key, -kMaxKeyShift, kMaxKeyShift, "3#");
    FPlayback.SetKey(FSettings.key);
    return reply;
}

std::optional<std::string> TRoomState::PlaylistSaved(std::string_view argument) {
    FNextStale = true;
    if (FPlayback.Playing()) {
        return kAcknowledged;
    }
    return Next(argument);
}

std::optional<std::string> TRoomState::Acknowledge(std::string_view) {
    return kAcknowledged;
}

std::optional<std::string> TRoomState::RememberTablet(std::string_view argument) {
    FTabletAddress = argument;
    if (!FPlayback.Playing()) {
        return NothingPlays();
    }
    FLengthOwed = false;
    return "11#" + std::to_string(FPlayback.Song().id) + ";" +
           std::to_string(FPlayback.Song().lengthSeconds) + ";" +
           std::to_string(FPlayback.ElapsedSeconds()) + ";" + std::to_string(FSettings.microphone);
}

std::optional<std::string> TRoomState::Volume(std::string_view argument) {
    auto reply = SetLevel(argument, FSettings.volume, 0, kMaxVolume, "9#");
    FPlayback.SetVolume(FSettings.volume);
    return reply;
}

std::optional<std::string> TRoomState::SearchBy(std::string_view argument) {
    if (argument != "0" && argument != "1") {
        return std::nullopt;
    }
    return kAcknowledged;
}

std::optional<std::string> TRoomState::SoundMode(std::string_view argument) {
    auto mode = ParseInt(argument);
    if (!mode || *mode < 1 || *mode > 5) {
        return std::nullopt;
    }
    FSettings.soundMode = *mode;
    FPlayback.SetSoundMode(*mode);
    return kAcknowledged;
}

std::optional<std::string> TRoomState::Microphone(std::string_view argument) {
    auto reply = SetLevel(argument, FSettings.microphone, 0, kMaxMicrophone, "10#");
    FPlayback.SetMicrophone(FSettings.microphone);
    return reply;
}

std::optional<std::string> TRoomState::MicrophoneStep(std::string_view argument) {
    int step = argument == "1" ? 1 : argument == "2" ? -1 : 0;
    if (step == 0) {
        return std::nullopt;
    }
    FSettings.microphone = std::clamp(FSettings.microphone + step, 0, kMaxMicrophone);
    FPlayback.SetMicrophone(FSettings.microphone);
    return "2#" + std::to_string(FSettings.microphone);
}

std::optional<std::string> TRoomState::Progress(std::string_view) {
    if (!FPlayback.Playing()) {
        return NothingPlays();
    }
    if (FLengthOwed) {
        // Still owed while a backend is loading the song.
        FLengthOwed = FPlayback.Song().lengthSeconds <= 0;
        return SongStarted();
    }
    return ProgressShown();
}

std::optional<std::string> TRoomState::Seek(std::string_view argument) {
    auto seconds = ParseInt(argument);
    if (!seconds) {
        return std::nullopt;
    }
    if (!FPlayback.Playing()) {
        return NothingPlays();
    }
    FPlayback.Seek(*seconds);
    return ProgressShown();
}

std::optional<std::string> TRoomState::ListMode(std::string_view argument) {
    if (argument != "0" && argument != "1" && argument != "3") {
        return std::nullopt;
    }
    return kAcknowledged;
}

std::optional<std::string> TRoomState::RoomSettings(std::string_view) {
    return "1#" + std::to_string(FSettings.volume) + ";" + std::to_string(FSettings.microphone) +
           ";" + FSettings.condition;
}

std::optional<std::string> TRoomState::BookingStarted(std::string_view argument) {
    // A booking starts with the room playlist: the first song plays at once, and
    // the console learns it from the full state that follows with the tablet's
    // address.
    FNextStale = true;
    if (!FPlayback.Playing()) {
        if (auto first = FSongs.TakeNext()) {
            StartSong(first);
            FLengthOwed = FPlayback.Playing();
        }
    }
    return RoomSettings(argument);
}

std::optional<std::string> TRoomState::Logout(std::string_view) {
    FPlayback.Stop();
    FSearchText.clear();
    // The console clears the room's playlist as the guests leave.
    FNextStale = true;
    return NothingPlays();
}
