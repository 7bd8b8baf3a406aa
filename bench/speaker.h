#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A loudspeaker made of a named pipe: mpv writes raw 16-bit stereo samples at
// 48 kHz into it (ao=pcm) and this reads them at the sample rate, as a sound
// card would play them. mpv blocks on the full pipe, so it runs in real time.
// Each sample is stamped with the wall time at which it was read ("heard").
class TPipeSpeaker {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr int kSampleRate = 48000;

    // Makes the pipe at path (replacing a file there) and starts reading.
    // pipeBytes: the pipe's capacity, the sound card's buffer in effect.
    TPipeSpeaker(const std::filesystem::path& path, int pipeBytes);
    ~TPipeSpeaker();
    TPipeSpeaker(const TPipeSpeaker&) = delete;
    TPipeSpeaker& operator=(const TPipeSpeaker&) = delete;

    int PipeBytes() const { return FPipeBytes; }
    // Frames heard so far.
    int64_t Frames() const;
    // Waits until a tone of frequency (rather than of otherFrequency) is heard
    // at a frame from fromFrame on; returns that frame, or nothing after the
    // timeout. The frame is the centre of the first analysis window in which
    // frequency is the stronger of the two.
    std::optional<int64_t> WaitForTone(double frequency, double otherFrequency, int64_t fromFrame,
                                       std::chrono::milliseconds timeout) const;
    // The wall time at which frame was read.
    TClock::time_point HeardAt(int64_t frame) const;

    // Length of the analysis window, and the step between windows, in frames.
    static constexpr int kWindow = 2048;
    static constexpr int kStep = 240;
    // How often the pipe is read.
    static constexpr std::chrono::milliseconds kTick{5};

private:
    struct TChunk {
        int64_t firstFrame;
        TClock::time_point readAt;
    };
    void Read();

    std::filesystem::path FPath;
    int FFd = -1;
    int FPipeBytes = 0;
    std::atomic<bool> FStopping = false;
    mutable std::mutex FMutex;
    std::vector<int16_t> FLeft;   // the left channel of every frame heard
    std::vector<TChunk> FChunks;  // when each read's frames were heard
    std::thread FReader;
};
