#include "virtual_screen.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

// A difference of colour larger than scaling and blending leave between two
// renderings of the same picture.
constexpr int kColourStep = 24;
constexpr auto kWaitLimit = std::chrono::seconds(20);
constexpr auto kCaptureInterval = std::chrono::milliseconds(150);

pid_t Spawn(std::vector<std::string> args, posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error(args[0] + " cannot be started (scripts/deps.sh installs it)");
    }
    return pid;
}

}  // namespace

int TScreenPicture::Differences(const TScreenPicture& other, int top, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = (static_cast<size_t>(y) * width + x) * 3;
            for (int c = 0; c < 3; ++c) {
                if (at + c >= rgb.size() || at + c >= other.rgb.size() ||
                    std::abs(rgb[at + c] - other.rgb[at + c]) > kColourStep) {
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

int TScreenPicture::WhitePixels(int top, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = (static_cast<size_t>(y) * width + x) * 3;
            if (at + 2 < rgb.size() && rgb[at] > 128 && rgb[at + 1] > 128 && rgb[at + 2] > 128) {
                ++count;
            }
        }
    }
    return count;
}

std::string TVirtualScreen::MissingTool() {
    for (const char* tool : {"Xvfb", "ffmpeg"}) {
        if (std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) != 0) {
            return tool;
        }
    }
    return "";
}

std::vector<std::string> TVirtualScreen::PlayerArguments() {
    return {"--mpv", "vo=gpu", "--mpv", "gpu-sw=yes", "--mpv", "gpu-context=x11egl"};
}

TVirtualScreen::TVirtualScreen(std::filesystem::path workDir) : FWorkDir(std::move(workDir)) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    try {
        // -displayfd: the server writes the display number it took once it
        // accepts clients.
        FPid = Spawn(
            {"Xvfb", "-displayfd", "1", "-screen", "0",
             std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-nolisten", "tcp"},
            &actions);
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    FILE* output = ::fdopen(pipeFds[0], "r");
    char number[32] = {};
    const bool started = std::fgets(number, sizeof number, output) != nullptr;
    std::fclose(output);
    if (!started) {
        throw std::runtime_error("Xvfb did not start");
    }
    FDisplay = ":" + std::to_string(std::atoi(number));
}

TVirtualScreen::~TVirtualScreen() {
    if (FPid > 0) {
        ::kill(FPid, SIGTERM);
        ::waitpid(FPid, nullptr, 0);
    }
}

TScreenPicture TVirtualScreen::Capture() const {
    const std::filesystem::path file = FWorkDir / "screen.rgb";
    std::filesystem::remove(file);
    const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
    pid_t pid = Spawn(
        {"ffmpeg",      "-nostdin", "-loglevel",   "error",    "-y",    "-f",         "x11grab",
         "-draw_mouse", "0",        "-video_size", size,       "-i",    FDisplay,     "-frames:v",
         "1",           "-f",       "rawvideo",    "-pix_fmt", "rgb24", file.string()},
        nullptr);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("ffmpeg cannot capture the screen " + FDisplay);
    }
    std::ifstream in(file, std::ios::binary);
    TScreenPicture picture{kWidth, kHeight, {}};
    picture.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return picture;
}

TScreenPicture TVirtualScreen::WaitFor(
    const std::function<bool(const TScreenPicture&)>& wanted) const {
    const auto giveUp = std::chrono::steady_clock::now() + kWaitLimit;
    TScreenPicture last = Capture();
    while (std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(kCaptureInterval);
        TScreenPicture now = Capture();
        const bool still = now.Differences(last, 0, kHeight) == 0;
        last = std::move(now);
        if (still && wanted(last)) {
            break;
        }
    }
    return last;
}
