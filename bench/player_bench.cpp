// bench_player: what a guest feels of lyrabox-player, the real program over
// the real link on 127.0.0.1: the play command to the song's first frame, a
// key change to the changed pitch heard, a seek to the sound of the new
// position, and the CPU use of playing a 720p song with the key shifted.
// Usage and method in bench/README.md.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/benchoptions.h"
#include "bench/framewatch.h"
#include "bench/playerprocess.h"
#include "bench/speaker.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The song: 60 s of 1280x720 H.264 at 30 frames per second with AAC sound,
// a moving test picture, and a tone at an eighth of full scale on both
// channels, 440 Hz for the first half and 660 Hz for the second, so that the
// sound tells the position as well as the key.
constexpr int kSongId = 1;
// The same song with a key frame every 2 s instead of x264's default of every
// 250 frames (8.3 s): a seek decodes from the key frame before its position.
constexpr int kShortGopSongId = 2;
constexpr int kShortGopFrames = 60;
constexpr int kSongSeconds = 60;
constexpr int kToneChangeSecond = 30;
constexpr double kTone = 440.0;
constexpr double kSecondHalfTone = 660.0;
constexpr int kKeyShift = 2;
const double kShiftedTone = kTone * std::pow(2.0, kKeyShift / 12.0);  // 493.9 Hz
// Seeks go between these two positions, one in each half.
constexpr int kEarlySecond = 5;
constexpr int kLateSecond = 40;
// The pipe between mpv and the bench's loudspeaker: 4 KiB, 21 ms of sound,
// the order of a sound card's period.
constexpr int kPipeBytes = 4096;

constexpr double kTargetFirstFrameMs = 1000;
constexpr double kTargetKeyMs = 500;
constexpr double kTargetSeekMs = 1000;
constexpr double kTargetCpuPercent = 50;

struct TOptions {
    int runs = 7;
    int cpuWindows = 6;
    // mpv options for every player the bench starts, after its own.
    std::vector<std::string> mpv;
};

TOptions ReadOptions(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string text = argv[i];
        if (text == "--mpv" && i + 1 < argc) {
            options.mpv.push_back(argv[++i]);
        } else if (!ReadNumberOption(text, "runs", options.runs) &&
                   !ReadNumberOption(text, "cpu_windows", options.cpuWindows)) {
            throw std::runtime_error(
                "usage: bench_player [--runs=N] [--cpu_windows=N] [--mpv NAME=VALUE]...");
        }
    }
    return options;
}

std::string MediaRecipe(int gopFrames) {
    const std::string tone =
        "0.125*sin(2*PI*if(lt(t\\," + std::to_string(kToneChangeSecond) + ")\\,440\\,660)*t)";
    return "testsrc2=size=1280x720:rate=30:duration=" + std::to_string(kSongSeconds) + "\n" +
           "aevalsrc=" + tone + "|" + tone + ":s=48000:d=" + std::to_string(kSongSeconds) + "\n" +
           (gopFrames > 0 ? std::to_string(gopFrames) : "x264 default");
}

void Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error(args[0] + " cannot be started (scripts/deps.sh installs it)");
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(args[0] + " failed");
    }
}

// Makes the song with ffmpeg unless the last run left it made by the same recipe.
// gopFrames 0: x264's default key frame interval.
void MakeSong(const std::filesystem::path& folder, int songId, int gopFrames) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path song = folder / (std::to_string(songId) + ".mp4");
    const std::filesystem::path recipeFile = folder / (std::to_string(songId) + ".recipe.txt");
    const std::string recipe = MediaRecipe(gopFrames);
    std::ifstream previous(recipeFile);
    if (std::filesystem::exists(song) &&
        std::string(std::istreambuf_iterator<char>(previous), {}) == recipe) {
        std::cout << "song: " << song.string() << " (made by an earlier run)" << std::endl;
        return;
    }
    const auto started = TClock::now();
    const std::string video = recipe.substr(0, recipe.find('\n'));
    const size_t audioAt = recipe.find('\n') + 1;
    const std::string audio = recipe.substr(audioAt, recipe.find('\n', audioAt) - audioAt);
    std::vector<std::string> args = {"ffmpeg",  "-nostdin", "-loglevel", "error",  "-y",
                                     "-f",      "lavfi",    "-i",        video,    "-f",
                                     "lavfi",   "-i",       audio,       "-c:v",   "libx264",
                                     "-preset", "veryfast", "-pix_fmt",  "yuv420p"};
    if (gopFrames > 0) {
        args.insert(args.end(), {"-g", std::to_string(gopFrames)});
    }
    args.insert(args.end(), {"-c:a", "aac", "-b:a", "128k", "-shortest", song.string()});
    Run(args);
    std::ofstream(recipeFile) << recipe;
    std::cout << "song: " << song.string() << " made in "
              << std::chrono::duration<double>(TClock::now() - started).count() << " s"
              << std::endl;
}

double Milliseconds(TClock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

struct TSeries {
    std::string name;
    std::string unit;
    std::vector<double> values;
    double target = 0;

    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Worst() const { return *std::max_element(values.begin(), values.end()); }
};

void PrintRuns(const TSeries& series) {
    std::printf("  %s:", series.name.c_str());
    for (double value : series.values) {
        std::printf(" %.0f", value);
    }
    std::printf(" %s\n", series.unit.c_str());
}

std::vector<std::string> WithOptions(std::vector<std::string> own, const TOptions& options) {
    own.insert(own.end(), options.mpv.begin(), options.mpv.end());
    return own;
}

std::string Expect(TBenchPlayer& player, const std::string& command, const std::string& prefix) {
    const std::string reply = player.Send(command);
    if (reply.rfind(prefix, 0) != 0) {
        throw std::runtime_error(command + " answered " + reply);
    }
    return reply;
}

// The play command to the first frame of the song written by mpv's image
// output, with the sound going nowhere at the pace of a clock.
std::vector<TSeries> FirstFrame(const std::filesystem::path& work, const TOptions& options) {
    const std::filesystem::path frames = work / "frames";
    std::filesystem::remove_all(frames);
    TFrameWatch watch(frames);
    TBenchPlayer player(work / "media",
                        WithOptions({"vo=image", "vo-image-outdir=" + frames.string(),
                                     "vo-image-format=jpg", "ao=null"},
                                    options),
                        work / "player-frames.log");
    TSeries toFrame{"play to first frame", "ms", {}, kTargetFirstFrameMs};
    TSeries toReply{"play to the reply on the link", "ms", {}, 0};
    TSeries writing{"writing the frame's picture file", "ms", {}, 0};
    for (int run = 0; run < options.runs; ++run) {
        player.Send("GI#");  // stops the song of the run before
        std::this_thread::sleep_for(500ms);
        // The folder stays: the watch is on it.
        for (const auto& file : std::filesystem::directory_iterator(frames)) {
            std::filesystem::remove(file.path());
        }
        watch.Arm();
        const TClock::time_point sent = TClock::now();
        Expect(player, "1#" + std::to_string(kSongId), "5#");
        const TClock::time_point replied = TClock::now();
        const std::optional<TFrameWatch::TFrame> frame = watch.WaitForFrame(5s);
        if (!frame) {
            throw std::runtime_error("no frame within 5 s of the play command");
        }
        toFrame.values.push_back(Milliseconds(frame->closed - sent));
        toReply.values.push_back(Milliseconds(replied - sent));
        writing.values.push_back(Milliseconds(frame->closed - frame->begun));
    }
    return {toFrame, toReply, writing};
}

// Waits for the tone and says how long after sent it was heard.
double HeardAfter(const TPipeSpeaker& speaker, double tone, double other, int64_t fromFrame,
                  TClock::time_point sent, const std::string& what) {
    const std::optional<int64_t> frame = speaker.WaitForTone(tone, other, fromFrame, 5s);
    if (!frame) {
        throw std::runtime_error(what + ": the tone of " + std::to_string(tone) +
                                 " Hz was not heard within 5 s (" +
                                 std::to_string(speaker.Frames()) + " frames heard in all)");
    }
    return Milliseconds(speaker.HeardAt(*frame) - sent);
}

// A key change and a seek, each from the command to its sound coming out of
// the loudspeaker pipe.
void SeekRuns(TBenchPlayer& player, const TPipeSpeaker& speaker, const TOptions& options,
              TSeries& seek);

std::vector<TSeries> KeyAndSeek(const std::filesystem::path& work, const TOptions& options) {
    TPipeSpeaker speaker(work / "speaker.pipe", kPipeBytes);
    TBenchPlayer player(
        work / "media",
        WithOptions({"vo=null", "ao=pcm", "ao-pcm-file=" + (work / "speaker.pipe").string(),
                     "ao-pcm-waveheader=no", "audio-format=s16", "audio-samplerate=48000",
                     "audio-channels=stereo"},
                    options),
        work / "player-sound.log");
    std::cout << "loudspeaker pipe: " << speaker.PipeBytes() << " bytes" << std::endl;
    // The file's own level, so that the tone is as loud as it was made.
    Expect(player, "27#100", "9#");

    // A guest who changes the key as the song begins: each run starts the
    // song again (in its own key) and changes it a second after it is heard.
    TSeries early{"key change 1 s into the song to its pitch heard", "ms", {}, kTargetKeyMs};
    for (int run = 0; run < options.runs; ++run) {
        const int64_t start = speaker.Frames();
        Expect(player, "1#" + std::to_string(kSongId), "5#");
        HeardAfter(speaker, kTone, kShiftedTone, start, TClock::now(), "the song's start");
        std::this_thread::sleep_for(1s);
        const int64_t from = speaker.Frames();
        const TClock::time_point sent = TClock::now();
        Expect(player, "39#" + std::to_string(kKeyShift), "3#");
        early.values.push_back(
            HeardAfter(speaker, kShiftedTone, kTone, from, sent, "key change as the song begins"));
    }

    // Later in the song: the last run's song goes on; the key back first.
    std::this_thread::sleep_for(2s);
    const int64_t reset = speaker.Frames();
    Expect(player, "39#0", "3#");
    HeardAfter(speaker, kTone, kShiftedTone, reset, TClock::now(), "key back to 0");
    std::this_thread::sleep_for(700ms);
    TSeries key{"key change mid-song to its pitch heard", "ms", {}, kTargetKeyMs};
    for (int run = 0; run < options.runs; ++run) {
        // Up to +2 and back down to 0 in turn: both are changes a guest hears.
        const bool up = run % 2 == 0;
        const int64_t from = speaker.Frames();
        const TClock::time_point sent = TClock::now();
        Expect(player, "39#" + std::to_string(up ? kKeyShift : 0), "3#");
        key.values.push_back(HeardAfter(speaker, up ? kShiftedTone : kTone,
                                        up ? kTone : kShiftedTone, from, sent, "key change"));
        std::this_thread::sleep_for(700ms);
    }
    if (options.runs % 2 == 1) {
        const int64_t from = speaker.Frames();
        Expect(player, "39#0", "3#");
        HeardAfter(speaker, kTone, kShiftedTone, from, TClock::now(), "key back to 0");
    }

    TSeries seek{
        "seek to the sound of the new position, key frame every 8.3 s", "ms", {}, kTargetSeekMs};
    SeekRuns(player, speaker, options, seek);
    TSeries shortGop{
        "seek to the sound of the new position, key frame every 2 s", "ms", {}, kTargetSeekMs};
    const int64_t start = speaker.Frames();
    Expect(player, "1#" + std::to_string(kShortGopSongId), "5#");
    HeardAfter(speaker, kTone, kSecondHalfTone, start, TClock::now(), "the second song's start");
    std::this_thread::sleep_for(1s);
    SeekRuns(player, speaker, options, shortGop);
    return {early, key, seek, shortGop};
}

// Seeks to a second in the song's second half and back to one in its first,
// in turn, each from the command to the tone of the new position heard.
void SeekRuns(TBenchPlayer& player, const TPipeSpeaker& speaker, const TOptions& options,
              TSeries& seek) {
    for (int run = 0; run < options.runs; ++run) {
        const bool late = run % 2 == 0;
        const int64_t from = speaker.Frames();
        const TClock::time_point sent = TClock::now();
        Expect(player, "34#" + std::to_string(late ? kLateSecond : kEarlySecond), "7#");
        seek.values.push_back(HeardAfter(speaker, late ? kSecondHalfTone : kTone,
                                         late ? kTone : kSecondHalfTone, from, sent, "seek"));
        std::this_thread::sleep_for(700ms);
    }
}

// The player's CPU time per second of wall time while the song plays in real
// time (sound to the null output, paced by its clock; pictures decoded and
// dropped by the null video output), as percent of one core.
TSeries Cpu(const std::filesystem::path& work, const TOptions& options, int keyShift) {
    TBenchPlayer player(work / "media", WithOptions({"vo=null", "ao=null"}, options),
                        work / "player-cpu.log");
    Expect(player, "1#" + std::to_string(kSongId), "5#");
    Expect(player, "39#" + std::to_string(keyShift), "3#");
    std::this_thread::sleep_for(2s);
    constexpr auto kWindow = 3s;
    if (2s + kWindow * options.cpuWindows > std::chrono::seconds(kSongSeconds - 2)) {
        throw std::runtime_error("the CPU windows must fit in the song");
    }
    TSeries cpu{"CPU, 720p30 H.264 + AAC, key " + std::string(keyShift > 0 ? "+" : "") +
                    std::to_string(keyShift),
                "% of one core",
                {},
                keyShift != 0 ? kTargetCpuPercent : 0};
    double cpuBefore = player.CpuSeconds();
    TClock::time_point before = TClock::now();
    for (int window = 0; window < options.cpuWindows; ++window) {
        std::this_thread::sleep_for(kWindow);
        const double cpuNow = player.CpuSeconds();
        const TClock::time_point now = TClock::now();
        cpu.values.push_back(100.0 * (cpuNow - cpuBefore) /
                             std::chrono::duration<double>(now - before).count());
        cpuBefore = cpuNow;
        before = now;
    }
    return cpu;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const TOptions options = ReadOptions(argc, argv);
        const std::filesystem::path work =
            std::filesystem::path(LYRABOX_BINARY_DIR) / "bench-player";
        MakeSong(work / "media", kSongId, 0);
        MakeSong(work / "media", kShortGopSongId, kShortGopFrames);

        std::vector<TSeries> all;
        for (auto part : std::vector<std::function<std::vector<TSeries>()>>{
                 [&] { return FirstFrame(work, options); },
                 [&] { return KeyAndSeek(work, options); },
                 [&] { return std::vector<TSeries>{Cpu(work, options, kKeyShift)}; },
                 [&] { return std::vector<TSeries>{Cpu(work, options, 0)}; }}) {
            for (const TSeries& series : part()) {
                PrintRuns(series);
                all.push_back(series);
            }
        }

        std::printf("\n%-62s %10s %10s %10s  %s\n", "figure", "median", "worst", "target", "unit");
        bool met = true;
        for (const TSeries& series : all) {
            char target[32] = "";
            if (series.target > 0) {
                const bool ok = series.Worst() < series.target;
                met = met && ok;
                std::snprintf(target, sizeof target, "<%.0f %s", series.target,
                              ok ? "met" : "MISSED");
            }
            std::printf("%-62s %10.0f %10.0f %10s  %s\n", series.name.c_str(), series.Median(),
                        series.Worst(), target, series.unit.c_str());
        }
        std::printf("targets (worst run): %s\n", met ? "all met" : "not all met");
        return met ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "bench_player: " << error.what() << std::endl;
        return 2;
    }
}
