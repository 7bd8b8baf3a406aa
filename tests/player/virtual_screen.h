#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// One picture of a whole screen: 8-bit red, green and blue per pixel, rows
// top to bottom.
struct TScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    // Pixels of rows [top, bottom) that differ from other's by more than a
    // rounding step in any colour.
    int Differences(const TScreenPicture& other, int top, int bottom) const;
    // Pixels of rows [top, bottom) brighter than mid grey in every colour.
    int WhitePixels(int top, int bottom) const;
    bool operator==(const TScreenPicture&) const = default;
};

// An X server of the test's own (Xvfb, no TCP) whose screen a test can look
// at: pictures are taken by ffmpeg's X11 capture, without the pointer.
class TVirtualScreen {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;

    // The program among those a virtual screen needs that is not installed;
    // empty when all are.
    static std::string MissingTool();
    // The options that make lyrabox-player draw with a real video output on
    // the CPU, as a machine without a graphics card can.
    static std::vector<std::string> PlayerArguments();

    // Throws std::runtime_error when Xvfb does not start.
    explicit TVirtualScreen(std::filesystem::path workDir);
    ~TVirtualScreen();
    TVirtualScreen(const TVirtualScreen&) = delete;
    TVirtualScreen& operator=(const TVirtualScreen&) = delete;

    // ":N", for DISPLAY.
    const std::string& Display() const { return FDisplay; }
    TScreenPicture Capture() const;
    // Captures until the screen holds still (two pictures alike) on a picture
    // that wanted accepts, and returns it; the last picture taken when none
    // came within twenty seconds.
    TScreenPicture WaitFor(const std::function<bool(const TScreenPicture&)>& wanted) const;

private:
    std::filesystem::path FWorkDir;
    std::string FDisplay;
    pid_t FPid = -1;
};
