#pragma once
// A program run to its end in a process of its own, with what it wrote to
// standard output and standard error, and how it ended.

#include <string>
#include <vector>

namespace e2e {

struct ProgramRun {
    int status = -1;  // the exit status; -1 when it did not exit by itself
    std::string out, err;
    std::string error;  // why status is -1: could not start, killed, timed out
    double ms = 0;
};

// Runs program with args (standard input empty) and collects both outputs
// until it ends; one still running after timeoutMs is killed.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      int timeoutMs);

}  // namespace e2e
