#pragma once
// SIGINT and SIGTERM during a batch (cli/StopSignal.h): caught, noted, and
// made visible to a poll through a pipe, so that a pump blocked on the udev
// monitor wakes at once.

namespace cli {

// Catches SIGINT and SIGTERM from now on, and ignores SIGPIPE: a standard
// output closed by its reader is then a write error the batch reports.
void CatchStopSignals();
// Readable once a stop signal was caught; -1 before CatchStopSignals.
int StopSignalFd();
// Ends the process by the noted signal with its default action, so that the
// shell sees the command interrupted; returns when none was noted.
void EndByNotedStopSignal();

}  // namespace cli
