#pragma once
// Start-up of a Qt program, measured from outside: the time from starting the
// process to its main window's first paint, the CPU time it used until then,
// and its resident memory then and at its peak.
// The program reports that moment itself when READER_CONFIG_EXIT_WHEN_SHOWN
// is set, and exits.

#include <string>
#include <vector>

namespace bench {

struct StartupRuns {
    std::vector<double> seconds;     // process start to window shown, per run (wall)
    std::vector<double> cpuSeconds;  // CPU time of the process until then
    std::vector<double> residentKb;
    std::vector<double> peakKb;
    std::string error;  // empty when every run reported
};

struct Program {
    std::string path;
    std::vector<std::string> args;
};

// Starts each program runs times under the offscreen platform (one 1366x768
// screen), in turns so
// that a load on the machine falls on all alike, after one round that warms
// the caches. One result per program.
// A file that configures the offscreen platform's one screen as 1366x768
// at 96 dpi, "" when it cannot be written; the caller removes it.
std::string ScreenConfigFile();
// This process's environment for a child on that screen (offscreen without
// the file), optionally told to report its first paint and quit.
std::vector<std::string> ChildEnvironment(const std::string& screenConfig, bool exitWhenShown);

// Runs program with args and env until it ends (or timeoutMs), its standard
// output and error into output; startNs is the monotonic time it started.
bool Capture(const std::string& program, const std::vector<std::string>& args,
             std::vector<std::string> env, int timeoutMs, std::string* output, long long* startNs,
             std::string* error);

std::vector<StartupRuns> MeasureStartup(const std::vector<Program>& programs, int runs);

}  // namespace bench
