#include "bench/realtimesound.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kFrameBytes = 4;  // two 16-bit channels
// A read this late after the last one is a new start after a pause in the
// sound (between songs, while paused): the card's clock starts again.
constexpr auto kRestartAfter = std::chrono::milliseconds(50);

}  // namespace

TRealTimeSound::TRealTimeSound(const std::filesystem::path& fifo) {
    std::filesystem::remove(fifo);
    if (::mkfifo(fifo.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make the FIFO " + fifo.string());
    }
    // Non-blocking so the open does not wait for mpv; reads block again after.
    FFd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    if (FFd < 0) {
        throw std::runtime_error("cannot open the FIFO " + fifo.string());
    }
    ::fcntl(FFd, F_SETFL, 0);
    // One page, about 21 ms of sound: mpv may write only that far ahead of the
    // read, as it would into a sound card's small hardware buffer.
    ::fcntl(FFd, F_SETPIPE_SZ, 4096);
    FPipeBytes = ::fcntl(FFd, F_GETPIPE_SZ);
    FReader = std::thread([this] { ReadPaced(); });
}

TRealTimeSound::~TRealTimeSound() {
    FStopping = true;
    FReader.join();
    ::close(FFd);
}

void TRealTimeSound::ReadPaced() {
    const auto period = std::chrono::nanoseconds(1000000000LL * kPeriodFrames / kRate);
    std::vector<char> buffer(kPeriodFrames * kFrameBytes);
    bool running = false;
    TClock::time_point due;
    while (!FStopping) {
        pollfd ready{FFd, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) {
            continue;
        }
        if ((ready.revents & POLLIN) == 0) {
            // No writer (mpv closed its output): wait for the next song's.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const auto now = TClock::now();
        if (!running || now > due + kRestartAfter) {
            due = now;
            running = true;
        }
        std::this_thread::sleep_until(due);
        const ssize_t count = ::read(FFd, buffer.data(), buffer.size());
        if (count <= 0) {
            continue;
        }
        const auto readAt = TClock::now();
        Append(buffer.data(), static_cast<size_t>(count), readAt);
        // The next read is due when the card has played what this one took.
        due += period * count / static_cast<ssize_t>(buffer.size());
    }
}

void TRealTimeSound::Append(const char* bytes, size_t count, TClock::time_point when) {
    std::lock_guard lock(FMutex);
    FPartial.insert(FPartial.end(), bytes, bytes + count);
    const size_t frames = FPartial.size() / kFrameBytes;
    for (size_t i = 0; i < frames; ++i) {
        int16_t left = 0;
        std::memcpy(&left, FPartial.data() + i * kFrameBytes, sizeof left);
        FLeft.push_back(left);
    }
    FPartial.erase(FPartial.begin(), FPartial.begin() + frames * kFrameBytes);
    FReads.push_back({static_cast<int64_t>(FLeft.size()), when});
}

int64_t TRealTimeSound::FramesRead() const {
    std::lock_guard lock(FMutex);
    return static_cast<int64_t>(FLeft.size());
}

std::vector<int16_t> TRealTimeSound::Left(int64_t from, int64_t to) const {
    std::lock_guard lock(FMutex);
    to = std::min<int64_t>(to, static_cast<int64_t>(FLeft.size()));
    if (from >= to) {
        return {};
    }
    return {FLeft.begin() + from, FLeft.begin() + to};
}

TRealTimeSound::TClock::time_point TRealTimeSound::ReadTime(int64_t frame) const {
    std::lock_guard lock(FMutex);
    auto read = std::upper_bound(FReads.begin(), FReads.end(), frame,
                                 [](int64_t f, const TRead& r) { return f < r.endFrame; });
    return read == FReads.end() ? TClock::time_point::max() : read->when;
}
