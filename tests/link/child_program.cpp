#include "child_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

TChildProgram::TChildProgram(std::vector<std::string> arguments,
                             const std::filesystem::path& errorFile) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const int status = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    FOutput = ::fdopen(pipeFds[0], "r");
    if (status != 0) {
        FPid = -1;
        std::fclose(FOutput);
        throw std::runtime_error("cannot start " + arguments[0]);
    }
}

TChildProgram::~TChildProgram() {
    if (FPid > 0) {
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
    }
    std::fclose(FOutput);
}

std::string TChildProgram::ReadLine() {
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

int TChildProgram::Terminate() {
    ::kill(FPid, SIGTERM);
    int status = 0;
    ::waitpid(FPid, &status, 0);
    FPid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
