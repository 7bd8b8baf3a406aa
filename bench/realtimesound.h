#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

// The room's sound taken from a FIFO that mpv's pcm output writes (16-bit
// little-endian stereo, 48 kHz), read at the pace a sound card plays it: one
// 10 ms period at a time on the wall clock, out of a pipe shrunk to one page.
// mpv blocks on the full pipe, so it plays in real time, and the time a sample
// is read is the time it would go to the loudspeakers.
class TRealTimeSound {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr int kRate = 48000;
    static constexpr int kPeriodFrames = kRate / 100;

    // Makes the FIFO and opens it for reading before mpv opens it for writing,
    // so that mpv's open does not wait for a reader.
    explicit TRealTimeSound(const std::filesystem::path& fifo);
    ~TRealTimeSound();
    TRealTimeSound(const TRealTimeSound&) = delete;
    TRealTimeSound& operator=(const TRealTimeSound&) = delete;

    // Frames read so far.
    int64_t FramesRead() const;
    // The left channel of frames [from, to) (to clamped to what was read).
    std::vector<int16_t> Left(int64_t from, int64_t to) const;
    // When the read that brought frame was made.
    TClock::time_point ReadTime(int64_t frame) const;
    // The read capacity of the pipe in bytes (what mpv can write ahead of us).
    int PipeBytes() const { return FPipeBytes; }

private:
    void ReadPaced();
    void Append(const char* bytes, size_t count, TClock::time_point when);

    int FFd = -1;
    int FPipeBytes = 0;
    std::atomic<bool> FStopping{false};
    mutable std::mutex FMutex;
    std::vector<int16_t> FLeft;
    std::vector<char> FPartial;  // the bytes of a frame split between reads
    struct TRead {
        int64_t endFrame;
        TClock::time_point when;
    };
    std::vector<TRead> FReads;
    std::thread FReader;
};
