#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

// Watches the folder into which mpv's image output writes every frame it
// shows, and stamps each picture file as it is begun and as it is closed.
class TFrameWatch {
public:
    using TClock = std::chrono::steady_clock;
    struct TFrame {
        TClock::time_point begun;   // the file was made: mpv starts writing the frame
        TClock::time_point closed;  // the file is complete
    };

    explicit TFrameWatch(const std::filesystem::path& folder);
    ~TFrameWatch();
    TFrameWatch(const TFrameWatch&) = delete;
    TFrameWatch& operator=(const TFrameWatch&) = delete;

    // Forgets the frames seen so far.
    void Arm();
    // The first frame closed since Arm, waiting at most timeout for it.
    std::optional<TFrame> WaitForFrame(std::chrono::milliseconds timeout);

private:
    void Watch();

    int FFd = -1;
    bool FStopping = false;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::optional<TClock::time_point> FBegun;
    std::optional<TFrame> FFirst;
    std::thread FWatcher;
};
