#include "player/mpvplayback.h"

#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// How long a song start waits for mpv to open the file and tell its length.
// A local file opens in milliseconds; one that takes longer starts with its
// length owed to the console, which learns it with the next progress answer.
constexpr auto kLoadWait = std::chrono::seconds(3);

// What the player is without options: one borderless full-screen window that
// stays open between songs, no key bindings or on-screen controls of mpv's own.
const std::pair<const char*, const char*> kDefaults[] = {
    {"idle", "yes"},
    {"keep-open", "no"},
    {"force-window", "yes"},
    {"fullscreen", "yes"},
    {"border", "no"},
    {"osc", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"audio-display", "no"},
    {"terminal", "no"},
};

std::string ErrorText(int error) {
    return mpv_error_string(error);
}

const mpv_node* MapValue(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP) {
        return nullptr;
    }
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0) {
            return &map.u.list->values[i];
        }
    }
    return nullptr;
}

}  // namespace

TMpvPlayback::TMpvPlayback(const TMediaFolder& media, const TMpvOptions& options, std::ostream& log,
                           IMicrophoneLevel* microphone)
    : FMedia(media), FLog(log), FVocalChannel(options.vocalChannel), FMicrophone(microphone) {
    FMpv = mpv_create();
    if (FMpv == nullptr) {
        throw std::runtime_error("mpv cannot be created");
    }
    auto fail = [this](const std::string& what, int error) {
        mpv_terminate_destroy(FMpv);
        FMpv = nullptr;
        throw std::runtime_error(what + ": " + ErrorText(error));
    };
    for (auto [name, value] : kDefaults) {
        mpv_set_option_string(FMpv, name, value);
    }
    mpv_set_option_string(FMpv, "af", Filters({}).c_str());
    for (const auto& [name, value] : options.settingsOptions) {
        if (int error = mpv_set_option_string(FMpv, name.c_str(), value.c_str()); error < 0) {
            FLog << "lyrabox-player: mpv refuses " << name << "=" << value << " of the settings ("
                 << ErrorText(error) << "); its default is used" << std::endl;
        }
    }
    for (const auto& [name, value] : options.options) {
        if (int error = mpv_set_option_string(FMpv, name.c_str(), value.c_str()); error < 0) {
            fail("mpv refuses " + name + "=" + value, error);
        }
    }
    // Tracks are chosen while mpv waits in this hook, before any sound is made.
    mpv_hook_add(FMpv, 0, "on_preloaded", 0);
    mpv_observe_property(FMpv, 0, "time-pos", MPV_FORMAT_DOUBLE);
    if (int error = mpv_initialize(FMpv); error < 0) {
        fail("mpv cannot start", error);
    }
    FEvents = std::thread([this] { ReadEvents(); });
}

TMpvPlayback::~TMpvPlayback() {
    FStopping = true;
    mpv_wakeup(FMpv);
    FEvents.join();
    // Ends playback and closes the audio output, which finishes a written file.
    mpv_terminate_destroy(FMpv);
}

void TMpvPlayback::ReadEvents() {
    while (!FStopping) {
        const mpv_event* event = mpv_wait_event(FMpv, -1);
        if (event->event_id == MPV_EVENT_SHUTDOWN) {
            return;
        }
        OnEvent(*event);
    }
}

void TMpvPlayback::OnEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_COMMAND_REPLY: {
            std::lock_guard lock(FMutex);
            if (event.reply_userdata == 0 || event.reply_userdata != FLoad) {
                return;  // commands whose outcome nobody waits for
            }
            if (event.error < 0) {
                FLoadError = event.error;
            } else {
                const auto* reply = static_cast<const mpv_event_command*>(event.data);
                const mpv_node* entry = MapValue(reply->result, "playlist_entry_id");
                if (entry != nullptr && entry->format == MPV_FORMAT_INT64) {
                    FLoadEntry = entry->u.int64;
                }
            }
            FChanged.notify_all();
            return;
        }
        case MPV_EVENT_START_FILE: {
            const auto* started = static_cast<const mpv_event_start_file*>(event.data);
            std::lock_guard lock(FMutex);
            FStartedEntry = started->playlist_entry_id;
            return;
        }
        case MPV_EVENT_HOOK: {
            const auto* hook = static_cast<const mpv_event_hook*>(event.data);
            ChooseAudio(hook->id);
            return;
        }
        case MPV_EVENT_FILE_LOADED: {
            double duration = 0;
            mpv_get_property(FMpv, "duration", MPV_FORMAT_DOUBLE, &duration);
            std::lock_guard lock(FMutex);
            TEntry& entry = FEntries[FStartedEntry];
            entry.loaded = true;
            entry.duration = duration;
            FChanged.notify_all();
            return;
        }
        case MPV_EVENT_END_FILE: {
            const auto* ended = static_cast<const mpv_event_end_file*>(event.data);
            if (ended->reason == MPV_END_FILE_REASON_REDIRECT) {
                return;
            }
            std::lock_guard lock(FMutex);
            TEntry& entry = FEntries[ended->playlist_entry_id];
            entry.ended = true;
            entry.error = ended->reason == MPV_END_FILE_REASON_ERROR ? ended->error : 0;
            FChanged.notify_all();
            return;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* property = static_cast<const mpv_event_property*>(event.data);
            if (property->format == MPV_FORMAT_DOUBLE) {
                FPosition = *static_cast<const double*>(property->data);
            }
            return;
        }
        default:
            return;
    }
}

TMpvPlayback::TAudioLayout TMpvPlayback::ReadAudioLayout() {
    TAudioLayout layout;
    mpv_node tracks;
    if (mpv_get_property(FMpv, "track-list", MPV_FORMAT_NODE, &tracks) < 0) {
        return layout;
    }
    if (tracks.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < tracks.u.list->num; ++i) {
            const mpv_node& track = tracks.u.list->values[i];
            const mpv_node* type = MapValue(track, "type");
            if (type == nullptr || type->format != MPV_FORMAT_STRING ||
                std::strcmp(type->u.string, "audio") != 0) {
                continue;
            }
            if (++layout.tracks == 1) {
                const mpv_node* channels = MapValue(track, "demux-channel-count");
                if (channels != nullptr && channels->format == MPV_FORMAT_INT64) {
                    layout.channels = static_cast<int>(channels->u.int64);
                }
            }
        }
    }
    mpv_free_node_contents(&tracks);
    return layout;
}

void TMpvPlayback::ChooseAudio(uint64_t hookId) {
    const TAudioLayout layout = ReadAudioLayout();
    {
        std::lock_guard lock(FMutex);
        FLayout = layout;
    }
    // mpv holds the file in this hook until continued: set synchronously.
    const bool guide = FVocalGuide;
    const bool twoTracks = layout.tracks >= 2;
    mpv_set_property_string(FMpv, "aid", twoTracks ? (guide ? "1" : "2") : "auto");
    mpv_set_property_string(FMpv, "af", Filters(layout).c_str());
    mpv_hook_continue(FMpv, hookId);
}

std::string TMpvPlayback::Filters(const TAudioLayout& layout) const {
    TSoundChain chain;
    chain.semitones = FKey;
    chain.mode = FSoundMode;
    chain.stereoGuideOff = layout.tracks < 2 && layout.channels == 2 && !FVocalGuide;
    chain.vocalChannel = FVocalChannel;
    return AudioFilters(chain);
}

void TMpvPlayback::SetFilters(const TAudioLayout& layout) {
    const std::string filters = Filters(layout);
    const char* text = filters.c_str();
    mpv_set_property_async(FMpv, 0, "af", MPV_FORMAT_STRING, &text);
}

TMpvPlayback::TAudioLayout TMpvPlayback::Layout() const {
    std::lock_guard lock(FMutex);
    return FLayout;
}

void TMpvPlayback::ApplyVocal(const TAudioLayout& layout) {
    if (layout.tracks >= 2) {
        const char* track = FVocalGuide ? "1" : "2";
        mpv_set_property_async(FMpv, 0, "aid", MPV_FORMAT_STRING, &track);
    } else if (layout.channels == 2) {
        // The channel swap is a filter of its own: the chain is rebuilt once,
        // with the key as it is now.
        SetFilters(layout);
    }
}

void TMpvPlayback::SetFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    mpv_set_property_async(FMpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void TMpvPlayback::Command(std::vector<std::string> words, uint64_t replyTo) {
    std::vector<const char*> arguments;
    for (const std::string& word : words) {
        arguments.push_back(word.c_str());
    }
    arguments.push_back(nullptr);
    mpv_command_async(FMpv, replyTo, arguments.data());
}

bool TMpvPlayback::Start(TSong song) {
    const std::optional<std::filesystem::path> path = FMedia.Find(song.id);
    if (!path) {
        FLog << "song " << song.id << " has no file in the media folder; passed over" << std::endl;
        return false;
    }
    // Every file starts unshifted; the room tells the key it wants after.
    FKey = 0;
    FPosition = 0;
    uint64_t load = 0;
    {
        std::lock_guard lock(FMutex);
        load = ++FLoad;
        FLoadEntry.reset();
        FLoadError = 0;
        FEntries.clear();
    }
    Command({"loadfile", path->string(), "replace"}, load);
    // Only a pause of the room's own is undone: mpv started with pause=yes
    // holds the first song until the room pauses and resumes it.
    if (FPaused) {
        FPaused = false;
        SetFlag("pause", false);
    }
    FSong = song;
    FSong->lengthSeconds = 0;
    FSongPath = path->string();

    std::unique_lock lock(FMutex);
    auto settled = [this] {
        if (FLoadError < 0) {
            return true;
        }
        auto entry = FLoadEntry ? FEntries.find(*FLoadEntry) : FEntries.end();
        return entry != FEntries.end() && (entry->second.loaded || entry->second.ended);
    };
    if (!FChanged.wait_for(lock, kLoadWait, settled)) {
        return true;  // still opening: its length comes later
    }
    const TEntry entry = FLoadError < 0 ? TEntry{} : FEntries[*FLoadEntry];
    if (!entry.loaded) {
        const int error = FLoadError < 0 ? FLoadError : entry.error;
        lock.unlock();
        FLog << "song " << song.id << ": mpv cannot play " << FSongPath << " (" << ErrorText(error)
             << "); passed over" << std::endl;
        FSong.reset();
        return false;
    }
    FSong->lengthSeconds = std::max(1, static_cast<int>(std::lround(entry.duration)));
    return true;
}

std::optional<TMpvPlayback::TEntry> TMpvPlayback::CurrentEntry() {
    std::lock_guard lock(FMutex);
    if (FLoadError < 0) {
        return TEntry{false, true, FLoadError, 0};
    }
    if (!FLoadEntry) {
        return std::nullopt;
    }
    auto entry = FEntries.find(*FLoadEntry);
    if (entry == FEntries.end()) {
        return std::nullopt;
    }
    return entry->second;
}

bool TMpvPlayback::CatchUp(ISongSource& songs) {
    if (!FSong) {
        return false;
    }
    const std::optional<TEntry> entry = CurrentEntry();
    if (!entry) {
        return false;
    }
    if (entry->loaded && FSong->lengthSeconds <= 0) {
        FSong->lengthSeconds = std::max(1, static_cast<int>(std::lround(entry->duration)));
    }
    if (!entry->ended) {
        return false;
    }
    if (entry->error < 0) {
        // A file that went away or broke while playing ends that song only.
        FLog << "song " << FSong->id << " stopped: " << ErrorText(entry->error) << std::endl;
    }
    StartFirstPlayable(*this, songs.TakeNext(), songs);
    return true;
}

int TMpvPlayback::ElapsedSeconds() const {
    if (!FSong) {
        return 0;
    }
    const int elapsed = std::max(0, static_cast<int>(FPosition.load()));
    return FSong->lengthSeconds > 0 ? std::min(elapsed, FSong->lengthSeconds) : elapsed;
}

void TMpvPlayback::Stop() {
    if (FSong) {
        Command({"stop"});
    }
    FSong.reset();
}

void TMpvPlayback::TogglePause() {
    FPaused = !FPaused;
    SetFlag("pause", FPaused);
}

void TMpvPlayback::Seek(int seconds) {
    const int length = FSong->lengthSeconds;
    const int target = std::max(0, length > 0 ? std::min(seconds, length) : seconds);
    FPosition = target;
    Command({"seek", std::to_string(target), "absolute"});
}

void TMpvPlayback::DrawOverlay(const std::string& assEvents) {
    // One overlay of ours, on a 1920x1080 canvas that mpv scales to the
    // window; the empty text takes it away.
    if (assEvents.empty()) {
        Command({"osd-overlay", "1", "none", ""});
    } else {
        Command({"osd-overlay", "1", "ass-events", assEvents, "1920", "1080"});
    }
}

void TMpvPlayback::SetVolume(int level) {
    double volume = MpvVolume(level);
    mpv_set_property_async(FMpv, 0, "volume", MPV_FORMAT_DOUBLE, &volume);
}

void TMpvPlayback::SetKey(int semitones) {
    FKey = semitones;
    if (FSong) {
        // A command to the running filter: the song goes on without a break.
        Command({"af-command", "key", "set-pitch", std::to_string(PitchScale(semitones))});
    }
}

void TMpvPlayback::SetVocalGuide(bool on) {
    FVocalGuide = on;
    if (FSong) {
        ApplyVocal(Layout());
    }
}

void TMpvPlayback::SetSoundMode(int mode) {
    FSoundMode = mode;
    SetFilters(FSong ? Layout() : TAudioLayout{});
}

void TMpvPlayback::SetMicrophone(int level) {
    if (FMicrophone != nullptr) {
        FMicrophone->SetLevel(level);
    }
}
