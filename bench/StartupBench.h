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

// Starts program with args runs times (after one run that warms the caches),
// under the offscreen platform.
StartupRuns MeasureStartup(const std::string& program, const std::vector<std::string>& args,
                           int runs);

}  // namespace bench
