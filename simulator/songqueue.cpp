#include "simulator/songqueue.h"

void TSongQueue::Add(TSong song) {
    FKnown[song.id] = song;
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

std::optional<TSong> TSongQueue::PeekNext() {
    if (FQueue.empty()) {
        return std::nullopt;
    }
    return FQueue.front();
}

TSong TSongQueue::Describe(int songId) {
    auto known = FKnown.find(songId);
    if (known != FKnown.end()) {
        return known->second;
    }
    // Between two and a half and five minutes, like most karaoke tracks.
    return {songId, 150 + (songId * 37) % 150};
}
