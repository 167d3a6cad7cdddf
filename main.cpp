// reader-config: configures the USB card reader. With --simulate it runs
// against one virtual reader instead of the real device.

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"
#include "sim/ReaderModel.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/Clock.h"
#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/QtSurface.h"

namespace {

struct Options {
    bool simulate = false;
};

// Options this version does not know are reported and otherwise ignored.
Options ParseOptions(const QStringList& args) {
    Options options;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--simulate"))
            options.simulate = true;
        else
            std::fprintf(stderr, "reader-config: ignoring unknown option %s\n",
                         args[i].toLocal8Bit().constData());
    }
    return options;
}

int RunSimulated(tk::QtSurface& surface, tk::Clock& clock) {
    sim::VirtualHidPort port(clock);
    port.AttachQuietly(std::make_unique<sim::AckingModel>());
    return CReaderConfigApp().InitInstance(surface, port, port, clock);
}

int RunOnDevice(tk::QtSurface& surface, tk::Clock& clock) {
    dev::HidapiPort port;
    dev::UdevWatcher watcher;
    std::unique_ptr<QSocketNotifier> notifier;
    if (watcher.Fd() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(watcher.Fd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [&watcher] { watcher.Dispatch(); });
    }
    return CReaderConfigApp().InitInstance(surface, port, watcher, clock);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reader-config"));
    QApplication::setApplicationVersion(QStringLiteral(READER_CONFIG_VERSION));
    QApplication::setWindowIcon(tk::AppIcon());
    const Options options = ParseOptions(QApplication::arguments());

    tk::SystemClock clock;
    tk::QtSurface surface(app::MainDialogSpec());
    const int result =
        options.simulate ? RunSimulated(surface, clock) : RunOnDevice(surface, clock);
    (void)result;  // the dialog's result is not the program's: it ends normally
    return 0;
}
