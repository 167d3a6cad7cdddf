#pragma once
// Ctrl+C, or a request to terminate, ends a batch the way its count would:
// no reader is started any more, those being configured finish and are
// reported and logged, and only then does the process end. The platform's
// entry point catches the signal (cli/linux, cli/win32) and notes it here;
// the batches look here between readers.

namespace cli {

// Called from a signal handler: only stores the signal (the first one stays).
void NoteStopSignal(int signal) noexcept;
// The signal noted, 0 for none.
int StopSignalNoted() noexcept;
// Forgets a noted signal (for tests that note one).
void ForgetStopSignal() noexcept;

}  // namespace cli
