#include "app/ReaderConfigApp.h"

#include <optional>

#include "app/ReaderConfigDlg.h"
#include "device/ReportTrace.h"

int CReaderConfigApp::InitInstance(tk::DialogSurface& surface, dev::HidPort& port,
                                   dev::DeviceWatcher& watcher, tk::Clock& clock,
                                   dev::ReportTracer* tracer) {
    CReaderConfigDlg dlg(surface, port, watcher, clock);
    // Each line names the device it went to: with several readers attached
    // the user chooses one, and may choose another later.
    std::optional<dev::DeviceTracer> named;
    if (tracer) {
        const dev::CHidLink& link = dlg.Link();
        named.emplace(*tracer, [&link] { return link.Opened().path; });
    }
    dlg.Link().SetTracer(named ? &*named : nullptr);
    dlg.OnInitDialog();
    return surface.RunModal();
}
