#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "player/mediafolder.h"
#include "player/microphonemixer.h"
#include "player/soundlevels.h"
#include "simulator/roomplayback.h"

struct mpv_handle;
struct mpv_event;

struct TMpvOptions {
    // mpv options set before the player starts, after our own defaults, so
    // that a venue (or a test) can override any of them: audio device, video
    // output, hardware decoding...
    std::vector<std::pair<std::string, std::string>> options;
    // mpv options the venue's settings file stands for, set before options:
    // one that mpv refuses is a line on the log, and the player starts without it.
    std::vector<std::pair<std::string, std::string>> settingsOptions;
    TVocalChannel vocalChannel = TVocalChannel::Right;
};

// The room's songs played by libmpv in one window. The link's thread only
// queues commands to mpv and reads what the event thread has learnt; mpv's
// events (a file loaded, a file ended, the position) are read on a thread of
// this class's own.
class TMpvPlayback final : public IRoomPlayback {
public:
    // Throws std::runtime_error when mpv cannot start (an option it refuses).
    // microphone, when given, takes the room's microphone level.
    TMpvPlayback(const TMediaFolder& media, const TMpvOptions& options, std::ostream& log,
                 IMicrophoneLevel* microphone = nullptr);
    ~TMpvPlayback() override;
    TMpvPlayback(const TMpvPlayback&) = delete;
    TMpvPlayback& operator=(const TMpvPlayback&) = delete;

    bool Playing() const override { return FSong.has_value(); }
    const TSong& Song() const override { return *FSong; }
    bool Paused() const override { return FPaused; }
    int ElapsedSeconds() const override;

    bool Start(TSong song) override;
    void Stop() override;
    void TogglePause() override;
    void Seek(int seconds) override;
    bool CatchUp(ISongSource& songs) override;

    void SetVolume(int level) override;
    void SetKey(int semitones) override;
    void SetVocalGuide(bool on) override;
    void SetSoundMode(int mode) override;
    void SetMicrophone(int level) override;

    // Draws ASS events (one a line) over the picture, song or idle window alike.
    void DrawOverlay(const std::string& assEvents);

private:
    // What the event thread has learnt about one entry of mpv's playlist.
    struct TEntry {
        bool loaded = false;
        bool ended = false;
        int error = 0;  // mpv's error code when the file could not be played
        double duration = 0;
    };
    // The audio of the song playing, as the event thread found it.
    struct TAudioLayout {
        int tracks = 0;
        int channels = 0;
    };

    void ReadEvents();
    void OnEvent(const mpv_event& event);
    void ChooseAudio(uint64_t hookId);
    TAudioLayout ReadAudioLayout();
    void ApplyVocal(const TAudioLayout& layout);
    // The filter chain for the song playing, with the room's sound as it is now.
    std::string Filters(const TAudioLayout& layout) const;
    void SetFilters(const TAudioLayout& layout);
    TAudioLayout Layout() const;
    // The entry the current song's load became, once mpv has said.
    std::optional<TEntry> CurrentEntry();

    void SetFlag(const char* name, bool value);
    void Command(std::vector<std::string> words, uint64_t replyTo = 0);

    const TMediaFolder& FMedia;
    std::ostream& FLog;
    const TVocalChannel FVocalChannel;
    IMicrophoneLevel* const FMicrophone;
    mpv_handle* FMpv = nullptr;
    std::thread FEvents;
    std::atomic<bool> FStopping = false;

    // The link thread's view.
    std::optional<TSong> FSong;
    std::string FSongPath;
    bool FPaused = false;

    // Shared with the event thread.
    mutable std::mutex FMutex;
    std::condition_variable FChanged;
    uint64_t FLoad = 0;                 // the current song's load command
    std::optional<int64_t> FLoadEntry;  // the playlist entry it became
    int FLoadError = 0;                 // the load command itself failed
    int64_t FStartedEntry = -1;         // the entry mpv started last
    std::map<int64_t, TEntry> FEntries;
    std::atomic<double> FPosition = 0;
    std::atomic<int> FKey = 0;
    std::atomic<bool> FVocalGuide = true;
    std::atomic<int> FSoundMode = 1;
    TAudioLayout FLayout;
};
