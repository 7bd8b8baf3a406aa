#include "bench/tonechange.h"

#include <cmath>
#include <cstdlib>

namespace {

// The magnitude of one frequency over a Hann-tapered window (Goertzel).
double Magnitude(const std::vector<int16_t>& samples, size_t from, int rate, double hz) {
    const double coefficient = 2 * std::cos(2 * M_PI * hz / rate);
    double previous = 0;
    double beforePrevious = 0;
    for (int i = 0; i < kToneWindow; ++i) {
        const double taper = 0.5 - 0.5 * std::cos(2 * M_PI * i / (kToneWindow - 1));
        const double current = taper * samples[from + i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return std::sqrt(previous * previous + beforePrevious * beforePrevious -
                     coefficient * previous * beforePrevious);
}

}  // namespace

std::optional<int64_t> FindToneChange(const std::vector<int16_t>& samples, int rate, double fromHz,
                                      double toHz) {
    if (samples.size() < static_cast<size_t>(kToneWindow)) {
        return std::nullopt;
    }
    const double oldLevel = Magnitude(samples, 0, rate, fromHz);
    for (size_t from = 0; from + kToneWindow <= samples.size(); from += kToneHop) {
        const double newTone = Magnitude(samples, from, rate, toHz);
        if (newTone > Magnitude(samples, from, rate, fromHz) && newTone > oldLevel / 2) {
            return static_cast<int64_t>(from + kToneWindow / 2);
        }
    }
    return std::nullopt;
}

std::optional<int64_t> FindFirstSound(const std::vector<int16_t>& samples, double level) {
    const int threshold = static_cast<int>(level * 32767);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) >= threshold) {
            return static_cast<int64_t>(i);
        }
    }
    return std::nullopt;
}
