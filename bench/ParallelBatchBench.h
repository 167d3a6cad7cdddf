#pragma once
// Elapsed time of batch --parallel with 1, 4, 16 virtual readers on the
// real clock: the readers' answer delays and the dialog's waits are spent as
// on hardware, so the time of N readers at once is set against that of one.

#include <string>
#include <vector>

namespace bench {

struct ParallelCost {
    int readers = 0;
    double seconds = 0;     // elapsed, median
    double cpuSeconds = 0;  // this process's CPU, median
    // Runs in which some reader did not verify: on a starved machine an
    // answer can come while no handle is open, and is lost, as on hardware.
    int failedRuns = 0;
};

// Runs the sizes interleaved, runs times each.
std::vector<ParallelCost> MeasureParallelBatch(const std::vector<int>& sizes, int runs);

}  // namespace bench
