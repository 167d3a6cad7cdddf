// The one place that chooses the concrete port and watcher of the end-to-end
// run. It should be the tool's own adapters (dev::HidapiPort and
// dev::UdevWatcher with its kernel-netlink source, as the guest runs no udev
// daemon); until they are built here, a bare hidraw port and a netlink
// watcher stand in for them.

#include "e2e/driver/Platform.h"

#include "e2e/driver/HidrawPort.h"
#include "e2e/driver/NetlinkWatcher.h"

namespace e2e {

Platform MakePlatform() {
    auto watcher = std::make_unique<NetlinkWatcher>();
    NetlinkWatcher* w = watcher.get();
    Platform p;
    p.name = "hidraw port, kernel netlink watcher (stand-ins)";
    p.port = std::make_unique<HidrawPort>();
    p.watcher = std::move(watcher);
    p.eventFd = [w] { return w->Fd(); };
    p.dispatchEvents = [w] { w->Dispatch(); };
    return p;
}

}  // namespace e2e
