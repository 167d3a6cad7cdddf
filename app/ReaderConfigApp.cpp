#include "app/ReaderConfigApp.h"

#include "app/ReaderConfigDlg.h"

int CReaderConfigApp::InitInstance(tk::DialogSurface& surface, dev::HidPort& port,
                                   dev::DeviceWatcher& watcher, tk::Clock& clock) {
    CReaderConfigDlg dlg(surface, port, watcher, clock);
    dlg.OnInitDialog();
    return surface.RunModal();
}
