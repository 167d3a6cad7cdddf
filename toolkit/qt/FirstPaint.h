#pragma once
// Hooks for tools that watch the program from outside: run something once the
// main window has been drawn for the first time, and report that moment.

#include <QWidget>
#include <functional>

namespace tk {

// Runs action once, from the event loop, after window has received its first
// paint event, i.e. when the user can first see it. Nothing happens if the
// window is destroyed before.
void AfterFirstPaint(QWidget* window, std::function<void()> action);

// Resident memory of this process in kB (VmRSS), -1 when unknown.
long ResidentKb();

// Writes "shown monotonic_ns=N vmrss_kb=M" on standard output: the time on
// the system's monotonic clock, which a parent process can compare with the
// moment it started this one, and the resident memory at that moment.
void PrintShownReport();

}  // namespace tk
