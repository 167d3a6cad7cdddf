#pragma once
// Starting a child program with two pipes to it, for the device program
// (commands in, acknowledgements out) and for the tool's own commands
// (standard output and error).

#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

struct Spawned {
    pid_t pid = -1;         // -1 when it could not be started (error says why)
    int toChild = -1;       // the child's standard input; -1 when it reads /dev/null
    int fromChild = -1;     // the child's standard output
    int errFromChild = -1;  // the child's standard error; -1 when it shares ours
    std::string error;
};

// Runs program with args. withInput: a pipe to its standard input (else
// /dev/null); withError: a pipe from its standard error (else ours). The
// parent's ends are closed on exec.
Spawned Spawn(const std::string& program, const std::vector<std::string>& args, bool withInput,
              bool withError);

}  // namespace e2e
