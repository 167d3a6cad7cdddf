// reader-config for Windows: the main dialog on the Win32 toolkit, with the
// reader reached over SetupAPI and hid.dll, or with --simulate a virtual
// reader that a Simulation menu plugs in and out; given a command, the
// command line without the window, on the console or redirected output.

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "base/Clock.h"
#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/win32/StandardStream.h"
#include "cli/win32/StopSignals.h"
#include "cli/win32/Win32Devices.h"
#include "device/win32/Win32DeviceWatcher.h"
#include "device/win32/Win32HidPort.h"
#include "sim/SimulatedDevices.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/win32/Win32Surface.h"

// After windows.h.
#include <shellapi.h>

namespace {

enum SimulationCommand : int {
    ID_SIM_UNPLUG = 40001,
    ID_SIM_PLUG_BACK = 40002,
    ID_SIM_PLUG_FRESH = 40003,
};

// The virtual device as a person at the screen plugs it in and out; the port
// raises the same device-change events as a real reader's arrival would.
// Further simulated devices stay attached throughout.
class SimulationMenu {
  public:
    SimulationMenu(tk::Win32Surface& surface, sim::VirtualHidPort& port,
                   const std::vector<sim::SimulatedDevice>& kinds)
        : m_surface(surface), m_port(port), m_kind(kinds.front()) {
        tk::MenuItem popup;
        popup.text = "模拟 (Simulation)";
        popup.popup = {
            {ID_SIM_UNPLUG, "拔出读卡器 (Unplug the reader)", true, {}},
            {ID_SIM_PLUG_BACK, "重新插入读卡器 (Plug the reader back in)", true, {}},
            {ID_SIM_PLUG_FRESH, "插入新的读卡器 (Plug in a fresh reader)", true, {}},
        };
        surface.SetTrailingPopup(popup, [this](int id) { OnCommand(id); });
        m_device = &port.AttachQuietly(sim::MakeSimulatedDevice(m_kind));
        for (size_t i = 1; i < kinds.size(); ++i)
            port.AttachQuietly(sim::MakeSimulatedDevice(kinds[i]));
        Update();
    }

  private:
    void OnCommand(int id) {
        if (id == ID_SIM_UNPLUG && m_device) {
            m_unplugged = m_port.DetachKeepingModel(*std::exchange(m_device, nullptr));
        } else if (id == ID_SIM_PLUG_BACK && !m_device && m_unplugged) {
            m_device = &m_port.Attach(std::move(m_unplugged));
        } else if (id == ID_SIM_PLUG_FRESH) {
            if (m_device) m_port.DetachKeepingModel(*std::exchange(m_device, nullptr));
            m_unplugged.reset();
            m_device = &m_port.Attach(sim::MakeSimulatedDevice(m_kind));
        }
        Update();
    }
    void Update() {
        m_surface.EnableTrailingCommand(ID_SIM_UNPLUG, m_device != nullptr);
        m_surface.EnableTrailingCommand(ID_SIM_PLUG_BACK, !m_device && m_unplugged);
    }

    tk::Win32Surface& m_surface;
    sim::VirtualHidPort& m_port;
    sim::SimulatedDevice m_kind;
    sim::VirtualDevice* m_device = nullptr;
    std::unique_ptr<sim::ReaderModel> m_unplugged;
};

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return args;
    for (int i = 1; i < argc; ++i) args.push_back(tk::win32::Utf8(argv[i]));
    LocalFree(argv);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const cli::CommandLine options = cli::ParseCommandLine(Arguments());
    // Written to only when there is something to say: the window attaches
    // to no console otherwise.
    cli::StandardStreamBuf outBuffer(cli::StandardHandle::Output);
    cli::StandardStreamBuf errBuffer(cli::StandardHandle::Error);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    // Help, a usage error and the commands never open the window.
    if (cli::WithoutWindow(options)) {
        // A batch stopped by Ctrl+C reports its readers first.
        if (options.command == cli::CommandLine::Command::Batch) cli::CatchStopSignals();
        const int status =
            cli::RunWithoutWindow(options, out, err, cli::MakeWin32Devices, cli::Win32Language);
        err.flush();
        cli::EndByNotedStopSignal();
        return status;
    }

    tk::SystemClock clock;
    cli::TraceOutput trace;
    if (!trace.Open(options.traceFile, clock, err)) return 1;

    tk::Win32Surface surface(app::MainDialogSpec());
    if (options.simulate != sim::SimulatedDevice::None) {
        sim::VirtualHidPort port(clock);
        SimulationMenu menu(surface, port, options.simulated);
        CReaderConfigApp().InitInstance(surface, port, port, clock, trace.Tracer());
    } else {
        dev::Win32HidPort port;
        dev::Win32DeviceWatcher watcher(surface.Window());
        surface.SetDeviceChangeHandler(
            [&watcher](uint32_t event, uintptr_t data) { watcher.Deliver(event, data); });
        CReaderConfigApp().InitInstance(surface, port, watcher, clock, trace.Tracer());
        surface.SetDeviceChangeHandler(nullptr);
    }
    return trace.Check(err) ? 0 : 1;
}
