#pragma once

#include <chrono>
#include <cstdint>

// The room player's sense of time, so tests can move it by hand.
class IRoomClock {
public:
    virtual ~IRoomClock() = default;
    virtual int64_t NowMs() = 0;
};

class TSteadyRoomClock final : public IRoomClock {
public:
    int64_t NowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};
