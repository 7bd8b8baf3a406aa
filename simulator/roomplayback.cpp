#include "simulator/roomplayback.h"

bool StartFirstPlayable(IRoomPlayback& playback, std::optional<TSong> first, ISongSource& songs) {
    // Every song taken leaves the playlist, so the playlist runs out at last.
    for (std::optional<TSong> song = first; song; song = songs.TakeNext()) {
        if (playback.Start(*song)) {
            return true;
        }
    }
    playback.Stop();
    return false;
}
