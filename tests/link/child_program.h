#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// One of our programs run as a child process whose standard output the test
// reads line by line (a room player announcing its address, then one line per
// request). It is killed if the test ends without stopping it.
class TChildProgram {
public:
    // arguments[0] is the program's path. Standard error goes to errorFile,
    // or stays the test's own when it is empty. Throws when it cannot start.
    explicit TChildProgram(std::vector<std::string> arguments,
                           const std::filesystem::path& errorFile = {});
    ~TChildProgram();
    TChildProgram(const TChildProgram&) = delete;
    TChildProgram& operator=(const TChildProgram&) = delete;

    // The next line of standard output without its newline; "(end of output)"
    // once the program has closed it.
    std::string ReadLine();
    // Sends SIGTERM and returns the exit status (-1 when it did not exit).
    int Terminate();

private:
    pid_t FPid = -1;
    FILE* FOutput = nullptr;
};
