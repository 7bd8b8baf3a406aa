#pragma once

#include "simulator/roomclock.h"

// Time in the simulator's tests moves only when the test says so.
class TManualClock final : public IRoomClock {
public:
    int64_t NowMs() override { return FNow; }
    void AdvanceSeconds(int seconds) { FNow += int64_t{1000} * seconds; }

private:
    int64_t FNow = 1000000;
};
