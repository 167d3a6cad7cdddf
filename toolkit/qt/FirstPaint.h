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
// The most resident memory this process has had, in kB (VmHWM), -1 when unknown.
long PeakResidentKb();

// Writes "shown monotonic_ns=N cpu_ns=C vmrss_kb=M vmhwm_kb=P" on standard
// output: the time on the system's monotonic clock, which a parent process
// can compare with the moment it started this one, the CPU time this
// process has used, and its resident memory now and at its peak.
void PrintShownReport();

}  // namespace tk
