#include "simulator/playback.h"

#include <algorithm>

int64_t TPlayback::ElapsedMs() const {
    if (!FSong) {
        return 0;
    }
    return (FPaused ? FPausedAtMs : FClock.NowMs()) - FStartedAtMs;
}

int TPlayback::ElapsedSeconds() const {
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

void TPlayback::Start(TSong song) {
    FSong = Playable(song);
    FPaused = false;
    FStartedAtMs = FClock.NowMs();
}

void TPlayback::Stop() {
    FSong.reset();
    FPaused = false;
}

void TPlayback::TogglePause() {
    int64_t now = FClock.NowMs();
    if (FPaused) {
        FStartedAtMs += now - FPausedAtMs;
    } else {
        FPausedAtMs = now;
    }
    FPaused = !FPaused;
}

void TPlayback::Seek(int seconds) {
    int64_t target = std::clamp(seconds, 0, FSong->lengthSeconds) * int64_t{1000};
    FStartedAtMs = (FPaused ? FPausedAtMs : FClock.NowMs()) - target;
}

bool TPlayback::CatchUp(ISongSource& songs) {
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
