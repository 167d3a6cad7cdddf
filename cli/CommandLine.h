#pragma once
// The tool's command line. Without a command the tool opens its window and
// talks to the real reader; the commands (read, apply, verify, batch, list)
// run the reader core without a display. It is parsed from the raw arguments before
// any GUI toolkit exists, so a bad option fails the same way with or without
// a display, and file names stay the bytes the shell passed (on Windows, the
// UTF-8 of the characters passed).

#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimulatedDevices.h"

namespace cli {

using sim::SimulatedDevice;

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    // Run without a command opens the window.
    enum class Command { None, Read, Apply, Verify, Batch, List };
    Action action = Action::Run;
    Command command = Command::None;
    SimulatedDevice simulate = SimulatedDevice::None;  // the first of simulated
    std::vector<SimulatedDevice> simulated;            // --simulate=KIND,KIND,...
    std::string simulateState;  // --simulate-state FILE: the virtual devices kept between runs
    std::string traceFile;      // empty: no trace; "-": standard error
    std::string profile;        // apply, verify, batch
    bool json = false;          // read --json, list --json
    std::string device;         // --device PATH: the one device to talk to
    std::string serial;         // --serial S: the one device with that serial number
    uint32_t count = 0;         // batch --count; 0: until stopped
    std::string logFile;        // batch --log
    bool parallel = false;      // batch --parallel: every device at once, each on its own
    std::string error;          // for Action::Error
    std::string offending;      // the argument the error is about
};

// Parses argv[1..] as the shell passed it. The GUI toolkit's own options
// (-platform, -style, ...) are accepted for the window and left to it.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
// The word that names a command on the command line; "" for None.
const char* CommandName(CommandLine::Command c);

std::string HelpText(const std::string& program);
std::string VersionText();

// Exit status of the commands: success, a difference found (verify, apply's
// read-back, a batch device that failed), and any error (bad option or
// profile, no device, failed transfer).
constexpr int EXIT_OK = 0;
constexpr int EXIT_DIFFERS = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_ERROR = 2;

}  // namespace cli
