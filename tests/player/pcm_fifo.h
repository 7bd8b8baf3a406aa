#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

// The player's sound through a FIFO that the test reads, so that the player
// (which writes sound far faster than it plays) can be held at a known point
// of a song: once the test stops reading, mpv stops a little further on, when
// the pipe and its own buffers are full. Everything read is kept in a file
// for TPcmAudio.
class TPcmFifo {
public:
    // Makes the FIFO at path and opens it for reading (the player opens it
    // for writing when its first song starts). realTime reads no faster than
    // a sound card plays, from the first sound on, so that mpv's clock runs
    // as it does on a playback PC.
    TPcmFifo(const std::filesystem::path& path, const std::filesystem::path& heard,
             bool realTime = false);
    ~TPcmFifo();
    TPcmFifo(const TPcmFifo&) = delete;
    TPcmFifo& operator=(const TPcmFifo&) = delete;

    // Reads exactly seconds of sound; false when the player wrote no more
    // within a minute.
    bool Read(double seconds);
    // From now on reads all the player writes, on a thread, until Finish.
    void ReadOnward();
    void Finish();

    const std::filesystem::path& Path() const { return FPath; }
    const std::filesystem::path& Heard() const { return FHeard; }

private:
    // Reads what there is within a tenth of a second, up to most bytes.
    size_t ReadSome(size_t most);

    std::filesystem::path FPath;
    std::filesystem::path FHeard;
    // How much may be read by now, at real time, at most most.
    size_t Allowed(size_t most);

    bool FRealTime = false;
    std::chrono::steady_clock::time_point FFirstSound;
    size_t FRead = 0;
    int FFifo = -1;
    int FOut = -1;
    std::atomic<bool> FStopping = false;
    std::thread FOnward;
};
