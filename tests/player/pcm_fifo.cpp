#include "pcm_fifo.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "player_process.h"

namespace {

constexpr size_t kFrameBytes = 4;  // 16-bit stereo

}  // namespace

TPcmFifo::TPcmFifo(const std::filesystem::path& path, const std::filesystem::path& heard,
                   bool realTime)
    : FPath(path), FHeard(heard), FRealTime(realTime) {
    std::filesystem::remove(path);
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo " + path.string());
    }
    // Non-blocking: opening waits for no writer, and reading finds none yet.
    FFifo = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    FOut = ::open(heard.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FFifo < 0 || FOut < 0) {
        throw std::runtime_error("cannot open " + path.string());
    }
}

TPcmFifo::~TPcmFifo() {
    Finish();
    ::close(FFifo);
    ::close(FOut);
    std::filesystem::remove(FPath);
}

size_t TPcmFifo::Allowed(size_t most) {
    if (!FRealTime || FRead == 0) {
        return most;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - FFirstSound).count();
    const size_t due = static_cast<size_t>(elapsed * kSampleRate) * kFrameBytes;
    return due > FRead ? std::min(most, due - FRead) : 0;
}

size_t TPcmFifo::ReadSome(size_t most) {
    pollfd fd = {FFifo, POLLIN, 0};
    ::poll(&fd, 1, 100);
    char buffer[64 * 1024];
    const size_t allowed = std::min(Allowed(most), sizeof buffer);
    if (allowed == 0) {
        ::usleep(5'000);
        return 0;
    }
    const ssize_t got = ::read(FFifo, buffer, allowed);
    if (got <= 0) {
        // No data, or no writer between two songs (mpv reopens its output):
        // poll reports the hang-up at once, so wait a little before asking again.
        if (got == 0) {
            ::usleep(10'000);
        }
        return 0;
    }
    if (FRead == 0) {
        FFirstSound = std::chrono::steady_clock::now();
    }
    FRead += static_cast<size_t>(got);
    if (::write(FOut, buffer, static_cast<size_t>(got)) != got) {
        throw std::runtime_error("cannot keep the sound read");
    }
    return static_cast<size_t>(got);
}

bool TPcmFifo::Read(double seconds) {
    size_t wanted = static_cast<size_t>(seconds * kSampleRate) * kFrameBytes;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (wanted > 0 && std::chrono::steady_clock::now() < giveUp) {
        wanted -= ReadSome(wanted);
    }
    return wanted == 0;
}

void TPcmFifo::ReadOnward() {
    FOnward = std::thread([this] {
        while (!FStopping) {
            ReadSome(SIZE_MAX);
        }
        // What is still in the pipe.
        FRealTime = false;
        while (ReadSome(SIZE_MAX) > 0) {
        }
    });
}

void TPcmFifo::Finish() {
    if (FOnward.joinable()) {
        FStopping = true;
        FOnward.join();
    }
}
