#include "pcm_audio.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

TPcmAudio TPcmAudio::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TPcmAudio audio;
    audio.FSamples.resize(bytes.size() / 4 * 2);
    for (size_t i = 0; i < audio.FSamples.size(); ++i) {
        auto low = static_cast<uint8_t>(bytes[2 * i]);
        auto high = static_cast<uint8_t>(bytes[2 * i + 1]);
        audio.FSamples[i] = static_cast<int16_t>(low | (high << 8));
    }
    return audio;
}

namespace {

// The power of one frequency in samples (Goertzel's recurrence).
double PowerAt(const std::vector<double>& samples, double frequency, int sampleRate) {
    const double coefficient = 2 * std::cos(2 * M_PI * frequency / sampleRate);
    double previous = 0, beforePrevious = 0;
    for (double sample : samples) {
        const double current = sample + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious -
           coefficient * previous * beforePrevious;
}

}  // namespace

double TPcmAudio::Frequency(int channel, int sampleRate) const {
    // The strongest frequency between 100 Hz and 2 kHz: a 1 Hz scan, then a
    // finer one around its peak. Counting zero crossings would be thrown off by
    // the small ripples a pitch shifter leaves near zero.
    std::vector<double> samples;
    for (size_t frame = Frames() / 4; frame < Frames() * 3 / 4; ++frame) {
        samples.push_back(FSamples[2 * frame + channel] / 32768.0);
    }
    auto strongest = [&](double from, double to, double step) {
        double best = from, bestPower = -1;
        for (double frequency = from; frequency <= to; frequency += step) {
            const double power = PowerAt(samples, frequency, sampleRate);
            if (power > bestPower) {
                best = frequency;
                bestPower = power;
            }
        }
        return best;
    };
    const double coarse = strongest(100, 2000, 1);
    return strongest(coarse - 1, coarse + 1, 0.05);
}

double TPcmAudio::Level(int channel) const {
    const size_t first = Frames() / 4, last = Frames() * 3 / 4;
    if (last <= first) {
        return 0;
    }
    double sum = 0;
    for (size_t frame = first; frame < last; ++frame) {
        double sample = FSamples[2 * frame + channel] / 32768.0;
        sum += sample * sample;
    }
    return std::sqrt(sum / static_cast<double>(last - first));
}

TPcmAudio TPcmAudio::Slice(double fromSecond, double toSecond, int sampleRate) const {
    auto frameAt = [&](double second) {
        return std::min(Frames(), static_cast<size_t>(std::max(0.0, second) * sampleRate));
    };
    TPcmAudio slice;
    slice.FSamples.assign(FSamples.begin() + 2 * frameAt(fromSecond),
                          FSamples.begin() + 2 * frameAt(toSecond));
    return slice;
}
