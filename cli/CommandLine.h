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

#include "cli/Texts.h"
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
    std::string profile;        // apply, verify, batch; "-": standard input
    bool json = false;          // --json: the result as a JSON document (batch: one a line)
    bool force = false;         // apply --force: write without reading first
    bool quiet = false;         // -q: no progress
    int verbose = 0;            // -v, -vv: more detail of what is done, short of the trace
    // --lang: the messages' language; without it the locale's (RunWithoutWindow).
    enum class LanguageChoice { System, English, Chinese };
    LanguageChoice language = LanguageChoice::System;
    bool toolkitPlatform = false;  // the window was given -platform
    std::string device;            // --device PATH: the one device to talk to
    std::string serial;            // --serial S: the one device with that serial number
    uint32_t count = 0;            // batch --count; 0: until stopped
    std::string logFile;           // batch --log
    bool parallel = false;         // batch --parallel: every device at once, each on its own
    std::string error;             // for Action::Error
    std::string errorZh;           // the same in Chinese
    std::string offending;         // the argument the error is about
};

// Parses argv[1..] as the shell passed it. The GUI toolkit's own options
// (-platform, -style, ...) are accepted for the window and left to it.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
// The word that names a command on the command line; "" for None.
const char* CommandName(CommandLine::Command c);

// The help of the whole program, or with a command that command's help.
std::string HelpText(const std::string& program,
                     CommandLine::Command command = CommandLine::Command::None,
                     Language language = Language::English);
std::string VersionText();
// The language the options ask for: --lang's, or else the one given (the
// system's).
Language LanguageOf(const CommandLine& options, Language system);

// Exit status of the commands: success (done, or nothing to do), a
// difference found (verify, apply's read-back, a batch device that failed),
// and any error (bad option or profile, no device, failed transfer). The man
// page's EXIT STATUS and the help's table say the same.
constexpr int EXIT_OK = 0;
constexpr int EXIT_DIFFERS = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_ERROR = 2;

}  // namespace cli
