#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Where in a recorded sound one tone gives way to another (a key change, a
// seek to a part with another tone): windows of kToneWindow samples with a
// Hann taper, slid kToneHop samples at a time, compare the power at the old
// and the new frequency. The first window in which the new tone is the
// stronger and at least half the level the old one had at the start marks the
// change; its centre is returned (an index into samples). The centre is where
// half the window holds the new tone, so the error is within a few
// milliseconds plus the length of any cross-fade in the sound itself.
constexpr int kToneWindow = 2048;  // 43 ms at 48 kHz: 23 Hz between bins
constexpr int kToneHop = 48;       // 1 ms

std::optional<int64_t> FindToneChange(const std::vector<int16_t>& samples, int rate, double fromHz,
                                      double toHz);

// The first sample at least `level` (of full scale) loud, if any.
std::optional<int64_t> FindFirstSound(const std::vector<int16_t>& samples, double level);
