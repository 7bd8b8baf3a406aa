#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Raw 16-bit little-endian stereo samples as the player wrote them, and the
// two measures the tests make on them.
class TPcmAudio {
public:
    static TPcmAudio Load(const std::filesystem::path& file);

    size_t Frames() const { return FSamples.size() / 2; }
    double Seconds(int sampleRate) const { return static_cast<double>(Frames()) / sampleRate; }
    // The sound from second to second, for the songs one after the other.
    TPcmAudio Slice(double fromSecond, double toSecond, int sampleRate) const;

    // Measured over the middle half of the sound, clear of any start or end
    // effects: the frequency of a tone (its spectrum's peak), and the
    // root mean square level as a fraction of full scale. channel 0 is left.
    double Frequency(int channel, int sampleRate) const;
    double Level(int channel) const;

private:
    std::vector<int16_t> FSamples;  // interleaved left, right
};
