#pragma once
// The tool's command line. Without options the tool talks to the real
// reader; the options exist for trying it without hardware and for traces.

#include <string>
#include <vector>

#include "sim/SimulatedDevices.h"

namespace app {

using sim::SimulatedDevice;

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    SimulatedDevice simulate = SimulatedDevice::None;
    std::string traceFile;  // empty: no trace; "-": standard error
    std::string error;      // for Action::Error
    std::string offending;  // the argument the error is about
};

// Parses argv[1..], after the GUI toolkit has taken out its own options.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText(const std::string& program);
std::string VersionText();

// Exit status for a command-line error.
constexpr int EXIT_USAGE = 2;

}  // namespace app
