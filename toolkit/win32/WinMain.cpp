// reader-config for Windows: the main dialog on the Win32 toolkit, with the
// reader reached over SetupAPI and hid.dll, or with --simulate a virtual
// reader that a Simulation menu plugs in and out.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "device/ReportTrace.h"
#include "device/win32/Win32DeviceWatcher.h"
#include "device/win32/Win32HidPort.h"
#include "sim/SimulatedDevices.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/Clock.h"
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

// A GUI program has no console of its own; output goes to the one it was
// started from, if any.
void UseParentConsole() {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "reader-config: %s\nTry 'reader-config --help' for more information.\n",
                 message.c_str());
    return app::EXIT_USAGE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const app::CommandLine options = app::ParseCommandLine(Arguments());
    if (options.action != app::CommandLine::Action::Run) {
        UseParentConsole();
        if (options.action == app::CommandLine::Action::Help) {
            std::fputs(app::HelpText("reader-config").c_str(), stdout);
            return 0;
        }
        if (options.action == app::CommandLine::Action::Version) {
            std::fputs(app::VersionText().c_str(), stdout);
            return 0;
        }
        return UsageError(options.error);
    }

    tk::SystemClock clock;
    std::ofstream traceFile;
    std::unique_ptr<dev::TraceWriter> tracer;
    if (!options.traceFile.empty()) {
        std::ostream* out = &std::cerr;
        if (options.traceFile != "-") {
            traceFile.open(std::filesystem::path(tk::win32::Wide(options.traceFile)));
            if (!traceFile) {
                UseParentConsole();
                std::fprintf(stderr, "reader-config: cannot write the trace to %s\n",
                             options.traceFile.c_str());
                return 1;
            }
            out = &traceFile;
        }
        tracer = std::make_unique<dev::TraceWriter>(*out, clock);
    }

    tk::Win32Surface surface(app::MainDialogSpec());
    if (options.simulate != sim::SimulatedDevice::None) {
        sim::VirtualHidPort port(clock);
        SimulationMenu menu(surface, port, options.simulated);
        CReaderConfigApp().InitInstance(surface, port, port, clock, tracer.get());
    } else {
        dev::Win32HidPort port;
        dev::Win32DeviceWatcher watcher(surface.Window());
        surface.SetDeviceChangeHandler(
            [&watcher](uint32_t event, uintptr_t data) { watcher.Deliver(event, data); });
        CReaderConfigApp().InitInstance(surface, port, watcher, clock, tracer.get());
        surface.SetDeviceChangeHandler(nullptr);
    }
    if (tracer && tracer->Error()) {
        UseParentConsole();
        std::fprintf(stderr, "reader-config: could not write the trace to %s: %s\n",
                     options.traceFile == "-" ? "standard error" : options.traceFile.c_str(),
                     std::strerror(tracer->Error()));
        return 1;
    }
    return 0;
}
