// reader-config: configures the USB card reader, in its window or, given a
// command, from the command line without a display. With --simulate it runs
// against virtual devices instead, which a menu (or batch) plugs in and out.

#include <QApplication>
#include <QMenu>
#include <QSocketNotifier>
#include <QToolButton>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "base/Clock.h"
#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/linux/LinuxDevices.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"
#include "sim/SimulatedDevices.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/FirstPaint.h"
#include "toolkit/qt/QtSurface.h"
#include "toolkit/qt/ScreenshotTour.h"

namespace {

constexpr const char* APP_ID = "io.github.reader_config.ReaderConfig";

// The person at the screen plugs the virtual devices in and out from a menu
// in the menu bar's corner; the port raises the same device-change events as
// the udev monitor does for a real reader. One device has its actions in the
// menu itself, several have a submenu each.
class SimulationMenu {
  public:
    SimulationMenu(tk::QtSurface& surface, sim::VirtualHidPort& port,
                   const std::vector<sim::SimulatedDevice>& kinds)
        : m_port(port) {
        auto* button = new QToolButton(surface.MenuBarWidget());
        button->setText(QStringLiteral("模拟 (Simulation)"));
        button->setPopupMode(QToolButton::InstantPopup);
        button->setAccessibleName(QStringLiteral("Simulation"));
        auto* menu = new QMenu(button);
        m_slots.resize(kinds.size());
        for (size_t i = 0; i < kinds.size(); ++i) {
            Slot& slot = m_slots[i];
            slot.kind = kinds[i];
            QMenu* actions = menu;
            if (kinds.size() > 1)
                actions = menu->addMenu(
                    QStringLiteral("设备 %1：%2 (Device %1: %2)")
                        .arg(i + 1)
                        .arg(QString::fromLatin1(sim::SimulatedDeviceName(slot.kind))));
            slot.unplug = actions->addAction(QStringLiteral("拔出读卡器 (Unplug the reader)"));
            slot.plugBack =
                actions->addAction(QStringLiteral("重新插入读卡器 (Plug the reader back in)"));
            slot.plugFresh =
                actions->addAction(QStringLiteral("插入新的读卡器 (Plug in a fresh reader)"));
            QObject::connect(slot.unplug, &QAction::triggered, menu, [this, i] { Unplug(i); });
            QObject::connect(slot.plugBack, &QAction::triggered, menu, [this, i] { PlugBack(i); });
            QObject::connect(slot.plugFresh, &QAction::triggered, menu,
                             [this, i] { PlugFresh(i); });
            slot.device = &port.AttachQuietly(sim::MakeSimulatedDevice(slot.kind));
            Update(slot);
        }
        button->setMenu(menu);
        surface.MenuBarWidget()->setCornerWidget(button, Qt::TopRightCorner);
    }

  private:
    struct Slot {
        sim::SimulatedDevice kind = sim::SimulatedDevice::Reader;
        sim::VirtualDevice* device = nullptr;
        std::unique_ptr<sim::ReaderModel> unplugged;
        QAction* unplug = nullptr;
        QAction* plugBack = nullptr;
        QAction* plugFresh = nullptr;
    };

    void Unplug(size_t i) {
        Slot& slot = m_slots[i];
        if (!slot.device) return;
        slot.unplugged = TakeDevice(slot);
        Update(slot);
    }
    // Pulls the slot's device out (the port raises the removal events) and
    // hands back its model.
    std::unique_ptr<sim::ReaderModel> TakeDevice(Slot& slot) {
        return m_port.DetachKeepingModel(*std::exchange(slot.device, nullptr));
    }
    void PlugBack(size_t i) {
        Slot& slot = m_slots[i];
        if (slot.device || !slot.unplugged) return;
        Attach(slot, std::move(slot.unplugged));
    }
    void PlugFresh(size_t i) {
        Slot& slot = m_slots[i];
        if (slot.device) TakeDevice(slot);
        slot.unplugged.reset();
        Attach(slot, sim::MakeSimulatedDevice(slot.kind));
    }
    void Attach(Slot& slot, std::unique_ptr<sim::ReaderModel> model) {
        slot.device = &m_port.Attach(std::move(model));
        Update(slot);
    }
    static void Update(const Slot& slot) {
        slot.unplug->setEnabled(slot.device != nullptr);
        slot.plugBack->setEnabled(!slot.device && slot.unplugged);
    }

    sim::VirtualHidPort& m_port;
    std::vector<Slot> m_slots;
};

// The pictures of the README: both views in both languages, the Chinese ones
// as the tool starts.
const std::vector<tk::ScreenshotStep> SCREENSHOT_STEPS = {
    {0, 0, "general-zh.png"},
    {0, ids::ID_TOGGLE_VIEW, "keyboard-zh.png"},
    {ids::IDC_ENGLISH, 0, "keyboard-en.png"},
    {0, ids::ID_TOGGLE_VIEW, "general-en.png"},
};

// Hooks for the benchmark and the screenshot script, set by environment
// variable so that the command line stays the user's. Each ends the program
// once the window has been drawn; status becomes the program's exit status.
void InstallShownHooks(tk::QtSurface& surface, int& status) {
    if (qEnvironmentVariableIsSet("READER_CONFIG_EXIT_WHEN_SHOWN")) {
        tk::AfterFirstPaint(surface.Dialog(), [] {
            tk::PrintShownReport();
            QCoreApplication::exit(0);
        });
    }
    const QString dir = qEnvironmentVariable("READER_CONFIG_SCREENSHOT_DIR");
    // With READER_CONFIG_SCREENSHOT_SCREEN=NAME only the whole screen, as
    // the tool starts, into NAME.png.
    const QString screen = qEnvironmentVariable("READER_CONFIG_SCREENSHOT_SCREEN");
    if (!dir.isEmpty()) {
        tk::AfterFirstPaint(surface.Dialog(), [&surface, &status, dir, screen] {
            std::string error;
            const std::vector<tk::ScreenshotStep> steps =
                screen.isEmpty()
                    ? SCREENSHOT_STEPS
                    : std::vector<tk::ScreenshotStep>{{0, 0, screen.toStdString() + ".png", true}};
            if (!tk::RunScreenshotTour(surface, dir.toStdString(), steps, &error)) {
                std::fprintf(stderr, "reader-config: screenshots: %s\n", error.c_str());
                status = 1;
            }
            QCoreApplication::exit(0);
        });
    }
}

int RunSimulated(tk::QtSurface& surface, tk::Clock& clock,
                 const std::vector<sim::SimulatedDevice>& kinds, dev::ReportTracer* tracer) {
    sim::VirtualHidPort port(clock);
    SimulationMenu menu(surface, port, kinds);
    return CReaderConfigApp().InitInstance(surface, port, port, clock, tracer);
}

int RunOnDevice(tk::QtSurface& surface, tk::Clock& clock, dev::ReportTracer* tracer) {
    dev::HidapiPort port;
    dev::UdevWatcher watcher;
    std::unique_ptr<QSocketNotifier> notifier;
    if (watcher.Fd() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(watcher.Fd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [&watcher] { watcher.Dispatch(); });
    }
    return CReaderConfigApp().InitInstance(surface, port, watcher, clock, tracer);
}

}  // namespace

int main(int argc, char** argv) {
    // Parsed before any GUI toolkit exists: a bad option, help and the
    // commands need no display, and file names stay the bytes given.
    const cli::CommandLine options = cli::ParseCommandLine({argv + 1, argv + argc});
    if (cli::WithoutWindow(options)) return cli::RunLinuxCommand(options);
    // Without a display Qt would abort (status 134) with its own words: say
    // what to do instead.
    if (cli::NoDisplay(options)) {
        std::cerr << cli::NoDisplayText(cli::LanguageOfEnvironment());
        return cli::EXIT_USAGE;
    }

    tk::SystemClock clock;
    cli::TraceOutput trace;
    if (!trace.Open(options.traceFile, clock, std::cerr)) return 1;

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reader-config"));
    QApplication::setApplicationVersion(QStringLiteral(READER_CONFIG_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(APP_ID));
    QApplication::setWindowIcon(tk::AppIcon());

    tk::QtSurface surface(app::MainDialogSpec());
    int status = 0;  // the dialog's result is not the program's: it ends normally
    InstallShownHooks(surface, status);
    if (options.simulate != sim::SimulatedDevice::None)
        RunSimulated(surface, clock, options.simulated, trace.Tracer());
    else
        RunOnDevice(surface, clock, trace.Tracer());
    return trace.Check(std::cerr) ? status : 1;
}
