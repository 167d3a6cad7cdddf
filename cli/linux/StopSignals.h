#pragma once
// batch's end by Ctrl+C (SIGINT), SIGTERM or SIGHUP: the first one stops the
// batch after the readers in hand (RequestStop) and lets it print its
// summary; a second one ends the program as the signal would. The signals
// are taken by a thread of their own (sigwait), so no transfer to a reader
// is ever cut short by one.

namespace cli {

// Blocks the signals in this thread and in every thread it starts from now
// on, and starts the thread that waits for them. Called once, before any
// other thread starts.
void StopOnSignals();
// A descriptor that becomes readable once a stop is requested by a signal,
// for a wait on device events to end at once; -1 before StopOnSignals.
int StopEventFd();

}  // namespace cli
