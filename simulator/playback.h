#pragma once

#include <cstdint>
#include <optional>

#include "simulator/roomclock.h"
#include "simulator/songsource.h"

// The song on the room player's screen and its running clock.
class TPlayback {
public:
    explicit TPlayback(IRoomClock& clock) : FClock(clock) {}

    bool Playing() const { return FSong.has_value(); }
    const TSong& Song() const { return *FSong; }
    bool Paused() const { return FPaused; }
    int ElapsedSeconds() const;

    void Start(TSong song);
    void Stop();
    void TogglePause();
    void Seek(int seconds);
    // Lets the clock catch up: songs that have ended give way to the next ones
    // from songs, or playback stops. True when the song on screen changed.
    bool CatchUp(ISongSource& songs);

private:
    int64_t ElapsedMs() const;

    IRoomClock& FClock;
    std::optional<TSong> FSong;
    bool FPaused = false;
    int64_t FStartedAtMs = 0;  // clock time at which the song's second 0 was (or would be)
    int64_t FPausedAtMs = 0;
};
