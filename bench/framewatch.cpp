#include "bench/framewatch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <stdexcept>

TFrameWatch::TFrameWatch(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    FFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FFd < 0 ||
        ::inotify_add_watch(FFd, folder.c_str(), IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        throw std::runtime_error("cannot watch " + folder.string());
    }
    FWatcher = std::thread([this] { Watch(); });
}

TFrameWatch::~TFrameWatch() {
    {
        std::lock_guard lock(FMutex);
        FStopping = true;
    }
    FWatcher.join();
    ::close(FFd);
}

void TFrameWatch::Watch() {
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + 256)];
    for (;;) {
        {
            std::lock_guard lock(FMutex);
            if (FStopping) {
                return;
            }
        }
        pollfd ready{FFd, POLLIN, 0};
        if (::poll(&ready, 1, 20) <= 0) {
            continue;
        }
        const TClock::time_point now = TClock::now();
        const ssize_t length = ::read(FFd, buffer, sizeof buffer);
        std::lock_guard lock(FMutex);
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_CREATE) {
                if (!FBegun) {
                    FBegun = now;
                }
            } else if (!FFirst) {
                FFirst = TFrame{FBegun.value_or(now), now};
                FChanged.notify_all();
            }
        }
    }
}

void TFrameWatch::Arm() {
    std::lock_guard lock(FMutex);
    FBegun.reset();
    FFirst.reset();
}

std::optional<TFrameWatch::TFrame> TFrameWatch::WaitForFrame(std::chrono::milliseconds timeout) {
    std::unique_lock lock(FMutex);
    FChanged.wait_for(lock, timeout, [this] { return FFirst.has_value(); });
    return FFirst;
}
