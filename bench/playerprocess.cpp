#include "bench/playerprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "link/timclient.h"
#include "link/tmessagedata.h"
#include "link/utf16.h"

extern char** environ;

namespace {

constexpr uint32_t kReplyTimeoutMs = 10000;

}  // namespace

TBenchPlayer::TBenchPlayer(const std::filesystem::path& media,
                           const std::vector<std::string>& mpvOptions,
                           const std::filesystem::path& errorFile) {
    std::vector<std::string> args = {LYRABOX_PLAYER_PATH, "--listen", "127.0.0.1:0", "--media",
                                     media.string()};
    for (const std::string& option : mpvOptions) {
        args.insert(args.end(), {"--mpv", option});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int status = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    FOutput = ::fdopen(pipeFds[0], "r");
    if (status != 0) {
        FPid = -1;
        throw std::runtime_error("cannot start " LYRABOX_PLAYER_PATH);
    }
    const std::string line = ReadLine();
    const std::string prefix = "listening on 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
        std::fclose(FOutput);
        std::ifstream errors(errorFile);
        throw std::runtime_error("lyrabox-player said: " + line + "\n" +
                                 std::string(std::istreambuf_iterator<char>(errors), {}));
    }
    FPort = std::stoi(line.substr(prefix.size()));
    // Its line per request is read and dropped, so that the pipe never fills.
    FDrain = std::thread([this] {
        while (ReadLine() != "(end of output)") {
        }
    });
}

TBenchPlayer::~TBenchPlayer() {
    if (FPid > 0) {
        ::kill(FPid, SIGTERM);
        ::waitpid(FPid, nullptr, 0);
    }
    if (FDrain.joinable()) {
        FDrain.join();
    }
    std::fclose(FOutput);
}

std::string TBenchPlayer::ReadLine() {
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

std::string TBenchPlayer::Send(const std::string& command) {
    auto request = TMessageData::Create();
    request->SetID(linkutf16::FromUtf8(command));
    request->Data().WriteUTF8String(u"Command", "Synchronous");
    TIMCClient client;
    client.SetServerAddress("127.0.0.1:" + std::to_string(FPort));
    std::shared_ptr<IMessageData> reply = client.ExecuteRequest(*request, kReplyTimeoutMs);
    if (!client.AnswerValid()) {
        return "(no answer: " + client.ErrorDesc() + ")";
    }
    return reply->Data().ReadUTF8String(u"String");
}

double TBenchPlayer::CpuSeconds() const {
    // Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
    std::ifstream file("/proc/" + std::to_string(FPid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), {});
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    long long ticks = 0;
    for (int number = 3; number <= 15 && rest >> field; ++number) {
        if (number >= 14) {
            ticks += std::stoll(field);
        }
    }
    return static_cast<double>(ticks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}
