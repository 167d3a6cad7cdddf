#pragma once
// Ctrl+C and Ctrl+Break during a batch (cli/StopSignal.h): caught on the
// console's handler thread, noted, and signalled through an event, so that a
// pump waiting for device messages wakes at once.

#include <windows.h>

namespace cli {

// Catches Ctrl+C and Ctrl+Break from now on.
void CatchStopSignals();
// Set once one was caught; nullptr before CatchStopSignals.
HANDLE StopSignalEvent();
// Ends the process as an interrupted console program does; returns when no
// stop was noted.
void EndByNotedStopSignal();

}  // namespace cli
