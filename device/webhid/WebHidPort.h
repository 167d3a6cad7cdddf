#pragma once
// The HID port and device watcher over the browser's WebHID (navigator.hid),
// through webhid_port.js. Each HIDDevice the page has been granted is one
// interface here, its path "webhid:N" and its instance N: a device plugged in
// again is a new HIDDevice and so a new instance. Report lengths and the
// keyboard usage come from the device's collections, so CHidLink chooses the
// interface with the 64-byte reports as it does elsewhere.
//
// Open, Write and Read wait for the browser's promises through Asyncify; the
// caller's thread is the page's only one, and the page stays live meanwhile.
// The device stays open in the browser between handles; a handle hears only
// the input reports that arrive while it is open, as a kernel handle does.

#include <string>
#include <vector>

#include "device/DeviceWatcher.h"
#include "device/HidPort.h"

namespace dev {

class WebHidPort : public HidPort {
  public:
    // HidPort
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::string& path, OpenError* error) override;
    // The page may ask for a reader only from a user's click: the browser
    // then says whether this site may use it.
    AccessDenial ExplainAccessDenied(const std::string& path) override;
};

// connect and disconnect events of navigator.hid, as arrival and removal,
// each followed by a tree change as the other platforms raise it.
class WebHidWatcher : public DeviceWatcher {
  public:
    ~WebHidWatcher() override;
    bool Register(DeviceChangeReceiver* receiver) override;
    void Unregister() override;
    // From the page (web_hid_changed).
    static void Deliver(uint32_t event);

  private:
    DeviceChangeReceiver* m_receiver = nullptr;
};

}  // namespace dev
