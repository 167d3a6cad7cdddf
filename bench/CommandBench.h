#pragma once
// What a command costs a person at a terminal: the CPU time and peak memory
// of a whole process (wait4's resource use), and the wall time of a command
// against a virtual reader on the real clock.

#include <string>
#include <vector>

#include "bench/StartupBench.h"
#include "profile/Profile.h"

namespace bench {

struct ProcessRuns {
    std::vector<double> cpuSeconds;  // user and system time of the whole process
    std::vector<double> peakKb;      // its peak resident memory
    std::vector<double> seconds;     // wall time from start to exit
    std::string error;               // empty when every run exited with status 0
};

// Runs each program runs times through the measuring program measure
// (bench/measure_process.cpp), in turns after one warming round, with its
// output thrown away. One result per program.
std::vector<ProcessRuns> MeasureProcesses(const std::string& measure,
                                          const std::vector<Program>& programs, int runs);

// Writes p into a fresh temporary file; its path, "" when it cannot be
// written. The caller removes it.
std::string TemporaryProfileFile(const profile::Profile& p);

}  // namespace bench
