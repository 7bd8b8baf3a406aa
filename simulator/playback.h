#pragma once

#include <cstdint>
#include <optional>

#include "simulator/roomclock.h"
#include "simulator/roomplayback.h"
#include "simulator/songsource.h"

// The simulator's playback: the song on the room player's screen and a running
// clock, nothing heard. Every song plays for its length.
class TClockPlayback final : public IRoomPlayback {
public:
    explicit TClockPlayback(IRoomClock& clock) : FClock(clock) {}

    bool Playing() const override { return FSong.has_value(); }
    const TSong& Song() const override { return *FSong; }
    bool Paused() const override { return FPaused; }
    int ElapsedSeconds() const override;

    bool Start(TSong song) override;
    void Stop() override;
    void TogglePause() override;
    void Seek(int seconds) override;
    bool CatchUp(ISongSource& songs) override;

private:
    int64_t ElapsedMs() const;

    IRoomClock& FClock;
    std::optional<TSong> FSong;
    bool FPaused = false;
    int64_t FStartedAtMs = 0;  // clock time at which the song's second 0 was (or would be)
    int64_t FPausedAtMs = 0;
};
