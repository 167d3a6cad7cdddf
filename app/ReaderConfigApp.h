#pragma once
// CReaderConfigApp: builds the main dialog on a toolkit surface, runs it
// modally, and ends when it closes.

#include "base/Clock.h"
#include "device/DeviceWatcher.h"
#include "device/HidLink.h"
#include "device/HidPort.h"
#include "toolkit/DialogSurface.h"

class CReaderConfigApp {
  public:
    // Runs the main dialog until it closes; returns the dialog's result.
    // tracer, when given, sees every report the dialog's link sends or
    // receives, its operation named "path:operation" by the device it went to.
    int InitInstance(tk::DialogSurface& surface, dev::HidPort& port, dev::DeviceWatcher& watcher,
                     tk::Clock& clock, dev::ReportTracer* tracer = nullptr);
};
