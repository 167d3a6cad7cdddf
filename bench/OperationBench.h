#pragma once
// CPU time of the device operations beyond the device's own waits: the
// dialog against a keypad reader that answers at once, on the virtual clock,
// over the headless toolkit and over the Qt toolkit in a shown offscreen
// window (the latter needs a QApplication).

#include <string>
#include <vector>

namespace bench {

struct OperationCost {
    std::string name;
    double headless = 0;  // CPU seconds per operation
    double qt = 0;        // CPU seconds per operation, event loop turn included
    double frames = 0;    // frames the reader received per operation
    double waitedMs = 0;  // virtual time the operation waited for the reader
};

// Runs each operation rounds * perRound times per toolkit; the cost is the
// median over the rounds of the mean of a round. Throws std::runtime_error
// when an operation does not go through without a question.
std::vector<OperationCost> MeasureOperations(int rounds, int perRound);

}  // namespace bench
