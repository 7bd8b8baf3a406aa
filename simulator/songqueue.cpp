#include "simulator/songqueue.h"

void TSongQueue::Add(TSong song) {
    FKnownLengths[song.id] = song.lengthSeconds;
    FQueue.push_back(song);
}

std::optional<TSong> TSongQueue::TakeNext() {
    if (FQueue.empty()) {
        return std::nullopt;
    }
    TSong next = FQueue.front();
    FQueue.pop_front();
    return next;
}

TSong TSongQueue::Describe(int songId) {
    auto known = FKnownLengths.find(songId);
    if (known != FKnownLengths.end()) {
        return {songId, known->second};
    }
    // Between two and a half and five minutes, like most karaoke tracks.
    return {songId, 150 + (songId * 37) % 150};
}
