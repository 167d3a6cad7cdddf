#pragma once
// Memory of the output pane as it grows and of a long unattended batch, each
// measured in a fresh process (this program started again with --pane-child
// or --batch-child) so that nothing else the benchmark did counts.

#include <string>

namespace bench {

struct PaneMemory {
    int lines = 0;
    double bytesPerLine = 0;  // resident memory growth per appended line
    std::string error;
};

struct BatchMemory {
    int readers = 0;
    long long configured = 0;  // readers the batch configured (its count)
    long long lines = 0;       // lines the batch wrote into the pane
    long long paneLines = 0;   // lines the pane holds at the end
    double peakKb = 0;         // VmHWM of the whole process
    double cpuSeconds = 0;
    std::string error;
};

// In the parent: start self with the child's option and read its report.
PaneMemory MeasurePaneMemory(const std::string& self, int lines);
BatchMemory MeasureBatchMemory(const std::string& self, int readers);

// In the child (needs a QApplication): do the work and print the report.
int RunPaneChild(int lines);
int RunBatchChild(int readers);

}  // namespace bench
