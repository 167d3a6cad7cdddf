#pragma once
// The tool's dialog over the real Qt toolkit and a virtual port, initialised
// and shown as at start-up, for the benchmarks that measure the window.

#include <QApplication>

#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/QtSurface.h"

namespace bench {

template <class ClockType>
struct ShownDialog {
    ClockType clock;
    sim::VirtualHidPort port{clock};
    tk::QtSurface surface{app::MainDialogSpec()};
    CReaderConfigDlg dlg{surface, port, port, clock};

    ShownDialog() {
        dlg.OnInitDialog();
        surface.Dialog()->show();
        QApplication::processEvents();
    }
};

}  // namespace bench
