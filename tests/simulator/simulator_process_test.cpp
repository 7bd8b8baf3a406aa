// The roomplayer-sim program itself: it announces its address, answers a
// request built by hand from the byte layout with a reply that decodes by the
// same layout, prints one line per request and stops on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "loopback_peer.h"

extern char** environ;

namespace {

// The simulator as a child process whose standard output the test reads.
class TSimulatorProcess {
public:
    explicit TSimulatorProcess(const std::string& scriptPath) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::string program = ROOMPLAYER_SIM_PATH;
        std::vector<std::string> args = {program, "--listen", "127.0.0.1:0", "--script",
                                         scriptPath};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int status = posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        FOutput = ::fdopen(pipeFds[0], "r");
        if (status != 0) {
            throw std::runtime_error("cannot start " + program);
        }
    }

    ~TSimulatorProcess() {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        std::fclose(FOutput);
    }

    std::string ReadLine() {
        char line[512];
        if (std::fgets(line, sizeof line, FOutput) == nullptr) {
            return "(end of output)";
        }
        std::string text(line);
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text;
    }

    // Sends SIGTERM and returns the exit status.
    int Terminate() {
        ::kill(FPid, SIGTERM);
        int status = 0;
        ::waitpid(FPid, &status, 0);
        FPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t FPid = -1;
    FILE* FOutput = nullptr;
};

TEST(SimulatorProgram, AnswersAHandBuiltRequestByTheSameTables) {
    std::string scriptPath = ::testing::TempDir() + "roomplayer-sim-script.txt";
    std::ofstream(scriptPath) << "set volume 55\non 20# failure\n";
    TSimulatorProcess simulator(scriptPath);

    std::string announcement = simulator.ReadLine();
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_EQ(announcement.rfind(prefix, 0), 0u) << announcement;
    auto port = static_cast<uint16_t>(std::stoi(announcement.substr(prefix.size())));

    struct TRow {
        std::u16string command;
        TBytes reply;
        std::string line;
    };
    const TBytes commandStorage = Entry(u"Command", Ascii("Synchronous"));
    for (const TRow& row :
         {TRow{u"38#", Frame(u"38#", Entry(u"String", Ascii("1#55;5;0"))), "38# -> 1#55;5;0"},
          TRow{u"27#75", Frame(u"27#75", Entry(u"String", Ascii("9#75"))), "27#75 -> 9#75"},
          TRow{u"20#", TBytes(8, 0xFF), "20# -> failure marker"}}) {
        TSocket console = TSocket::Connect("127.0.0.1", port, 5000);
        console.SendAll(Frame(row.command, commandStorage), 5000);
        EXPECT_EQ(Hex(ReadUntilClosed(console)), Hex(row.reply));
        EXPECT_EQ(simulator.ReadLine(), row.line);
    }
    EXPECT_EQ(simulator.Terminate(), 0);
}

}  // namespace
