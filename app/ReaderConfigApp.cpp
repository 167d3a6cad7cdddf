#include "app/ReaderConfigApp.h"

#include "app/ReaderConfigDlg.h"

int CReaderConfigApp::InitInstance(tk::DialogSurface& surface, dev::HidPort& port,
                                   dev::DeviceWatcher& watcher, tk::Clock& clock,
                                   dev::ReportTracer* tracer) {
    CReaderConfigDlg dlg(surface, port, watcher, clock);
    dlg.Link().SetTracer(tracer);
    dlg.OnInitDialog();
    return surface.RunModal();
}
