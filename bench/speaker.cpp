#include "bench/speaker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr int kFrameBytes = 4;  // two channels of 16 bits

// The power of one frequency in a block of samples (Goertzel's algorithm).
double Power(const int16_t* samples, int count, double frequency) {
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * frequency / TPipeSpeaker::kSampleRate);
    double previous = 0;
    double beforePrevious = 0;
    for (int i = 0; i < count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious -
           coefficient * previous * beforePrevious;
}

}  // namespace

TPipeSpeaker::TPipeSpeaker(const std::filesystem::path& path, int pipeBytes) : FPath(path) {
    std::filesystem::remove(path);
    if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("cannot make the pipe " + path.string());
    }
    // Read and write: the pipe never sees its last writer go, and mpv's open
    // for writing does not wait for a reader.
    FFd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (FFd < 0) {
        throw std::runtime_error("cannot open the pipe " + path.string());
    }
    FPipeBytes = ::fcntl(FFd, F_SETPIPE_SZ, pipeBytes);
    if (FPipeBytes < 0) {
        FPipeBytes = ::fcntl(FFd, F_GETPIPE_SZ);
    }
    FReader = std::thread([this] { Read(); });
}

TPipeSpeaker::~TPipeSpeaker() {
    FStopping = true;
    FReader.join();
    ::close(FFd);
    std::filesystem::remove(FPath);
}

void TPipeSpeaker::Read() {
    std::vector<int16_t> buffer;
    double owedFrames = 0;
    TClock::time_point last = TClock::now();
    TClock::time_point next = last;
    while (!FStopping) {
        next += kTick;
        std::this_thread::sleep_until(next);
        const TClock::time_point now = TClock::now();
        owedFrames += std::chrono::duration<double>(now - last).count() * kSampleRate;
        last = now;
        const int wanted = static_cast<int>(owedFrames);
        if (wanted <= 0) {
            continue;
        }
        buffer.resize(static_cast<size_t>(wanted) * 2);
        ssize_t got = ::read(FFd, buffer.data(), static_cast<size_t>(wanted) * kFrameBytes);
        got = std::max<ssize_t>(got, 0);
        // mpv is in the middle of writing a frame: wait for the rest of it.
        while (got % kFrameBytes != 0 && !FStopping) {
            const ssize_t rest = ::read(FFd, reinterpret_cast<char*>(buffer.data()) + got,
                                        static_cast<size_t>(kFrameBytes - got % kFrameBytes));
            if (rest > 0) {
                got += rest;
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        }
        const int frames = static_cast<int>(got / kFrameBytes);
        // Nothing written in time is silence on a sound card: the time it
        // owed is not made up later by reading faster.
        owedFrames = frames < wanted ? 0 : owedFrames - frames;
        if (frames == 0) {
            continue;
        }
        std::lock_guard lock(FMutex);
        FChunks.push_back({static_cast<int64_t>(FLeft.size()), now});
        for (int i = 0; i < frames; ++i) {
            FLeft.push_back(buffer[static_cast<size_t>(i) * 2]);
        }
    }
}

int64_t TPipeSpeaker::Frames() const {
    std::lock_guard lock(FMutex);
    return static_cast<int64_t>(FLeft.size());
}

std::optional<int64_t> TPipeSpeaker::WaitForTone(double frequency, double otherFrequency,
                                                 int64_t fromFrame,
                                                 std::chrono::milliseconds timeout) const {
    // A tone at an eighth of full scale gives (amplitude * window / 2)^2; a
    // window counts only when it holds at least a quarter of that amplitude.
    const double minimumPower = std::pow(4096.0 / 4 * kWindow / 2, 2);
    const TClock::time_point giveUp = TClock::now() + timeout;
    int64_t centre = std::max<int64_t>(fromFrame, kWindow / 2);
    std::vector<int16_t> samples;
    while (TClock::now() < giveUp) {
        {
            std::lock_guard lock(FMutex);
            const int64_t first = std::max<int64_t>(0, centre - kWindow / 2);
            if (static_cast<int64_t>(FLeft.size()) > first) {
                samples.assign(FLeft.begin() + first, FLeft.end());
            } else {
                samples.clear();
            }
        }
        const int64_t first = std::max<int64_t>(0, centre - kWindow / 2);
        for (; centre - kWindow / 2 >= 0 &&
               centre + kWindow / 2 <= first + static_cast<int64_t>(samples.size());
             centre += kStep) {
            const int16_t* window = samples.data() + (centre - kWindow / 2 - first);
            const double wanted = Power(window, kWindow, frequency);
            if (wanted > minimumPower && wanted > Power(window, kWindow, otherFrequency)) {
                return centre;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

TPipeSpeaker::TClock::time_point TPipeSpeaker::HeardAt(int64_t frame) const {
    std::lock_guard lock(FMutex);
    auto after = std::upper_bound(
        FChunks.begin(), FChunks.end(), frame,
        [](int64_t value, const TChunk& chunk) { return value < chunk.firstFrame; });
    if (after == FChunks.begin()) {
        throw std::runtime_error("frame " + std::to_string(frame) + " was never heard");
    }
    return std::prev(after)->readAt;
}
