// reader-config: configures the USB card reader, in its window or, given a
// command, from the command line without a display. With --simulate it runs
// against a virtual device instead, which a menu (or batch) plugs in and out.

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

#include "app/CommandLine.h"
#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "cli/linux/CommandLineMain.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"
#include "sim/SimulatedDevices.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/Clock.h"
#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/FirstPaint.h"
#include "toolkit/qt/QtSurface.h"
#include "toolkit/qt/ScreenshotTour.h"

namespace {

constexpr const char* APP_ID = "io.github.reader_config.ReaderConfig";

// The person at the screen plugs the virtual device in and out from a menu
// in the menu bar's corner; the port raises the same device-change events as
// the udev monitor does for a real reader.
class SimulationMenu {
  public:
    SimulationMenu(tk::QtSurface& surface, sim::VirtualHidPort& port, sim::SimulatedDevice kind)
        : m_port(port), m_kind(kind) {
        auto* button = new QToolButton(surface.MenuBarWidget());
        button->setText(QStringLiteral("模拟 (Simulation)"));
        button->setPopupMode(QToolButton::InstantPopup);
        button->setAccessibleName(QStringLiteral("Simulation"));
        auto* menu = new QMenu(button);
        m_unplug = menu->addAction(QStringLiteral("拔出读卡器 (Unplug the reader)"));
        m_plugBack = menu->addAction(QStringLiteral("重新插入读卡器 (Plug the reader back in)"));
        m_plugFresh = menu->addAction(QStringLiteral("插入新的读卡器 (Plug in a fresh reader)"));
        QObject::connect(m_unplug, &QAction::triggered, menu, [this] { Unplug(); });
        QObject::connect(m_plugBack, &QAction::triggered, menu, [this] { PlugBack(); });
        QObject::connect(m_plugFresh, &QAction::triggered, menu, [this] { PlugFresh(); });
        button->setMenu(menu);
        surface.MenuBarWidget()->setCornerWidget(button, Qt::TopRightCorner);
        m_device = &port.AttachQuietly(sim::MakeSimulatedDevice(kind));
        Update();
    }

  private:
    void Unplug() {
        if (!m_device) return;
        m_unplugged = TakeDevice();
        Update();
    }
    // Pulls the attached device out (the port raises the removal events) and
    // hands back its model.
    std::unique_ptr<sim::ReaderModel> TakeDevice() {
        return m_port.DetachKeepingModel(*std::exchange(m_device, nullptr));
    }
    void PlugBack() {
        if (m_device || !m_unplugged) return;
        Attach(std::move(m_unplugged));
    }
    void PlugFresh() {
        if (m_device) TakeDevice();
        m_unplugged.reset();
        Attach(sim::MakeSimulatedDevice(m_kind));
    }
    void Attach(std::unique_ptr<sim::ReaderModel> model) {
        m_device = &m_port.Attach(std::move(model));
        Update();
    }
    void Update() {
        m_unplug->setEnabled(m_device != nullptr);
        m_plugBack->setEnabled(!m_device && m_unplugged);
    }

    sim::VirtualHidPort& m_port;
    sim::SimulatedDevice m_kind;
    sim::VirtualDevice* m_device = nullptr;
    std::unique_ptr<sim::ReaderModel> m_unplugged;
    QAction* m_unplug = nullptr;
    QAction* m_plugBack = nullptr;
    QAction* m_plugFresh = nullptr;
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

int RunSimulated(tk::QtSurface& surface, tk::Clock& clock, sim::SimulatedDevice kind,
                 dev::ReportTracer* tracer) {
    sim::VirtualHidPort port(clock);
    SimulationMenu menu(surface, port, kind);
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
    const app::CommandLine options = app::ParseCommandLine({argv + 1, argv + argc});
    if (cli::WithoutWindow(options)) return cli::RunWithoutWindow(options, std::cout, std::cerr);

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
        RunSimulated(surface, clock, options.simulate, trace.Tracer());
    else
        RunOnDevice(surface, clock, trace.Tracer());
    return trace.Check(std::cerr) ? status : 1;
}
