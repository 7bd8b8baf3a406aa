#pragma once

#include <deque>
#include <map>

#include "simulator/songsource.h"

// The room playlist kept in memory. Songs it has never been told about get a
// plausible length that depends only on their id, so runs are repeatable, and
// no title or artist.
class TSongQueue final : public ISongSource {
public:
    void Add(TSong song);
    size_t Size() const { return FQueue.size(); }

    std::optional<TSong> TakeNext() override;
    std::optional<TSong> PeekNext() override;
    TSong Describe(int songId) override;

private:
    std::deque<TSong> FQueue;
    std::map<int, TSong> FKnown;
};
