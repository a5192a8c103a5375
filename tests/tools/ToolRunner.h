#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

struct RunResult {
    int status;
    std::string output;
};

// Runs the halvane program with a shell command line; collects stdout and
// stderr.
inline RunResult RunTool(const std::string& arguments) {
    const std::string command = std::string(HALVANE_TOOL) + " " + arguments + " 2>&1";
    RunResult result{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
