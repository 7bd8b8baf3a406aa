#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "child_program.h"

// The room's sound as the player wrote it: raw 16-bit little-endian stereo
// samples at 48 kHz, appended song after song.
constexpr int kSampleRate = 48000;

// lyrabox-player as a child process, headless: no picture, the sound written
// to a file. The test reads its standard output line by line and talks to it
// on the link as the console does.
class TPlayerProcess {
public:
    // extraArguments go after the media folder and the headless options.
    TPlayerProcess(const std::filesystem::path& workDir, const std::filesystem::path& media,
                   std::vector<std::string> extraArguments = {});
    TPlayerProcess(const TPlayerProcess&) = delete;
    TPlayerProcess& operator=(const TPlayerProcess&) = delete;

    // The next line of standard output without its newline.
    std::string ReadLine();
    // The reply text for command, "(failure marker)" or "(no answer: ...)".
    std::string Send(const std::string& command);
    // Asks for progress until the reply is "0#" (nothing plays any more) and
    // returns every reply that differed from the one before it. Gives up after
    // a minute, returning what it had.
    std::vector<std::string> ProgressUntilIdle();
    // Sends SIGTERM and returns the exit status (-1 when it did not exit).
    int Terminate();

    const std::filesystem::path& SoundFile() const { return FSound; }
    const std::filesystem::path& ErrorFile() const { return FErrors; }
    // What the player wrote to standard error (after Terminate, all of it).
    std::string Errors() const;

private:
    std::filesystem::path FSound;
    std::filesystem::path FErrors;
    std::optional<TChildProgram> FChild;
    int FPort = 0;
};
