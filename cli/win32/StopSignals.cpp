#include "cli/win32/StopSignals.h"

#include <csignal>

#include "cli/StopSignal.h"

namespace cli {

namespace {

HANDLE g_stopEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    NoteStopSignal(SIGINT);
    SetEvent(g_stopEvent);
    return TRUE;
}

}  // namespace

void CatchStopSignals() {
    if (!g_stopEvent) g_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_stopEvent) SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

HANDLE StopSignalEvent() {
    return g_stopEvent;
}

void EndByNotedStopSignal() {
    // The status a console program that Ctrl+C ended has.
    if (StopSignalNoted()) ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

}  // namespace cli
