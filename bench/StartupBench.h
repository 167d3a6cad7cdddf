#pragma once
// Start-up of a Qt program, measured from outside: the time from starting the
// process to its main window's first paint, and its resident memory then.
// The program reports that moment itself when READER_CONFIG_EXIT_WHEN_SHOWN
// is set, and exits.

#include <string>
#include <vector>

namespace bench {

struct StartupRuns {
    std::vector<double> seconds;  // process start to window shown, per run
    std::vector<double> residentKb;
    std::string error;  // empty when every run reported
};

struct Program {
    std::string path;
    std::vector<std::string> args;
};

// Starts each program runs times under the offscreen platform, in turns so
// that a load on the machine falls on all alike, after one round that warms
// the caches. One result per program.
std::vector<StartupRuns> MeasureStartup(const std::vector<Program>& programs, int runs);

}  // namespace bench
