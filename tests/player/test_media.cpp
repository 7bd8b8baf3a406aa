#include "test_media.h"

#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace testmedia {

namespace {

void Ffmpeg(std::vector<std::string> args) {
    args.insert(args.begin(), {"ffmpeg", "-nostdin", "-loglevel", "error", "-y"});
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("ffmpeg cannot be started (scripts/deps.sh installs it)");
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("ffmpeg failed making " + args.back());
    }
}

std::string Sine(int frequency, int seconds) {
    return "sine=frequency=" + std::to_string(frequency) +
           ":sample_rate=48000:duration=" + std::to_string(seconds);
}

}  // namespace

void Mono(const std::filesystem::path& file, int frequency, int seconds) {
    Ffmpeg({"-f", "lavfi", "-i", Sine(frequency, seconds), "-c:a", "pcm_s16le", file.string()});
}

void Stereo(const std::filesystem::path& file, int leftFrequency, int rightFrequency, int seconds,
            bool video) {
    std::vector<std::string> args = {"-f", "lavfi", "-i", Sine(leftFrequency, seconds),
                                     "-f", "lavfi", "-i", Sine(rightFrequency, seconds)};
    std::string graph = "[0:a][1:a]amerge=inputs=2[a]";
    if (video) {
        args.insert(args.end(),
                    {"-f", "lavfi", "-i",
                     "color=c=navy:size=160x90:rate=10:duration=" + std::to_string(seconds)});
    }
    args.insert(args.end(), {"-filter_complex", graph, "-map", "[a]"});
    if (video) {
        args.insert(args.end(), {"-map", "2:v", "-c:v", "mpeg4"});
    }
    args.insert(args.end(), {"-c:a", "pcm_s16le", file.string()});
    Ffmpeg(args);
}

void TwoTracks(const std::filesystem::path& file, int firstFrequency, int secondFrequency,
               int seconds) {
    Ffmpeg({"-f", "lavfi", "-i", Sine(firstFrequency, seconds), "-f", "lavfi", "-i",
            Sine(secondFrequency, seconds), "-map", "0:a", "-map", "1:a", "-c:a", "pcm_s16le",
            file.string()});
}

void Steps(const std::filesystem::path& file, const std::vector<int>& frequencies,
           int secondsEach) {
    // The frequency of second t: the step t falls in, the last one to the end.
    std::string frequency = std::to_string(frequencies.back());
    for (size_t i = frequencies.size() - 1; i-- > 0;) {
        frequency = "if(lt(t," + std::to_string((i + 1) * secondsEach) + ")," +
                    std::to_string(frequencies[i]) + "," + frequency + ")";
    }
    const std::string tone = std::to_string(kToneAmplitude) + "*sin(2*PI*" + frequency + "*t)";
    Ffmpeg({"-f", "lavfi", "-i",
            "aevalsrc=exprs='" + tone + "|" + tone +
                "':sample_rate=48000:duration=" + std::to_string(secondsEach * frequencies.size()),
            "-c:a", "pcm_s16le", file.string()});
}

void Broken(const std::filesystem::path& file) {
    std::ofstream(file) << "this is no song, only text with a song's name\n";
}

}  // namespace testmedia
