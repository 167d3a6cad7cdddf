// The one place that chooses the concrete port and watcher of the end-to-end
// run: the tool's own hidapi port, and its udev watcher listening to the
// kernel's uevents, since the guest runs no udev daemon.

#include "e2e/driver/Platform.h"

#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"

namespace e2e {

Platform MakePlatform() {
    auto watcher = std::make_unique<dev::UdevWatcher>(dev::UdevWatcher::Source::Kernel);
    dev::UdevWatcher* w = watcher.get();
    Platform p;
    p.name = "hidapi port, udev watcher on the kernel's uevents";
    p.port = std::make_unique<dev::HidapiPort>();
    p.watcher = std::move(watcher);
    p.eventFd = [w] { return w->Fd(); };
    p.dispatchEvents = [w] { w->Dispatch(); };
    return p;
}

}  // namespace e2e
