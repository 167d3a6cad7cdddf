#pragma once
// batch --parallel: every reader attached, and every reader plugged in
// later, is configured at once, each on its own device by a dialog of its
// own on a thread of its own. The dialog logic is the one-device logic
// unchanged; a coordinator finds the devices and writes their rows.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "profile/Profile.h"

namespace cli {

// Devices configured at once at most; more wait for a free slot.
constexpr size_t PARALLEL_MAX_RUNNING = 64;

// Runs the batch until options.count devices have finished (for ever
// without a count); returns the exit status. Throws Failure on an error
// that ends the batch (the log cannot be written, no events can come).
int RunParallelBatch(Environment& env, const profile::Profile& p, const cli::CommandLine& options);

}  // namespace cli
