#include "simulator/playback.h"

#include <algorithm>

int64_t TClockPlayback::ElapsedMs() const {
    if (!FSong) {
        return 0;
    }
    return (FPaused ? FPausedAtMs : FClock.NowMs()) - FStartedAtMs;
}

int TClockPlayback::ElapsedSeconds() const {
    return static_cast<int>(
        std::min<int64_t>(ElapsedMs() / 1000, FSong ? FSong->lengthSeconds : 0));
}

namespace {

// A song without a length still plays for a second, so the clock always moves on.
TSong Playable(TSong song) {
    song.lengthSeconds = std::max(song.lengthSeconds, 1);
    return song;
}

}  // namespace

bool TClockPlayback::Start(TSong song) {
    FSong = Playable(song);
    FPaused = false;
    FStartedAtMs = FClock.NowMs();
    return true;
}

void TClockPlayback::Stop() {
    FSong.reset();
    FPaused = false;
}

void TClockPlayback::TogglePause() {
    int64_t now = FClock.NowMs();
    if (FPaused) {
        FStartedAtMs += now - FPausedAtMs;
    } else {
        FPausedAtMs = now;
    }
    FPaused = !FPaused;
}

void TClockPlayback::Seek(int seconds) {
    int64_t target = std::clamp(seconds, 0, FSong->lengthSeconds) * int64_t{1000};
    FStartedAtMs = (FPaused ? FPausedAtMs : FClock.NowMs()) - target;
}

bool TClockPlayback::CatchUp(ISongSource& songs) {
    bool changed = false;
    while (FSong && !FPaused && ElapsedMs() >= FSong->lengthSeconds * int64_t{1000}) {
        int64_t endedAt = FStartedAtMs + FSong->lengthSeconds * int64_t{1000};
        changed = true;
        if (auto next = songs.TakeNext()) {
            FSong = Playable(*next);
            FStartedAtMs = endedAt;
        } else {
            FSong.reset();
        }
    }
    return changed;
}
