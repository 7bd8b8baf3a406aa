#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// lyrabox-player started as a benchmark needs it: its own mpv options, its
// process id for the CPU clock, and the console's side of the link.
class TBenchPlayer {
public:
    TBenchPlayer(const std::filesystem::path& media, const std::vector<std::string>& mpvOptions,
                 const std::filesystem::path& errorFile);
    ~TBenchPlayer();
    TBenchPlayer(const TBenchPlayer&) = delete;
    TBenchPlayer& operator=(const TBenchPlayer&) = delete;

    pid_t Pid() const { return FPid; }
    // Sends one command as the console does (one connection per request) and
    // returns the reply text, or a text in parentheses when there was none.
    std::string Send(const std::string& command);
    // The CPU time the process has used so far (user and system), in seconds.
    double CpuSeconds() const;

private:
    std::string ReadLine();

    pid_t FPid = -1;
    FILE* FOutput = nullptr;
    int FPort = 0;
    std::thread FDrain;
};
