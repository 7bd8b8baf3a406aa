#include "pcm_audio.h"

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

double TPcmAudio::Frequency(int channel, int sampleRate) const {
    const size_t first = Frames() / 4, last = Frames() * 3 / 4;
    // A crossing is counted from below zero to zero or above, once per period.
    size_t crossings = 0;
    size_t firstCrossing = 0, lastCrossing = 0;
    for (size_t frame = first + 1; frame < last; ++frame) {
        if (FSamples[2 * (frame - 1) + channel] < 0 && FSamples[2 * frame + channel] >= 0) {
            if (crossings++ == 0) {
                firstCrossing = frame;
            }
            lastCrossing = frame;
        }
    }
    if (crossings < 2) {
        return 0;
    }
    return static_cast<double>(crossings - 1) * sampleRate /
           static_cast<double>(lastCrossing - firstCrossing);
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
