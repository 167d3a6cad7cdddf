#pragma once
// HidPort over hidapi's hidraw back end (Linux). Enumeration reads the ids
// from sysfs without opening any device; a handle is one open hidraw node.
// Enumerate and Open may be called from several threads at once (a parallel
// batch); each handle belongs to one thread.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/BoundedWrite.h"
#include "device/HidPort.h"

namespace dev {

class HidapiPort : public HidPort {
  public:
    // Initialises hidapi; Enumerate returns nothing when that failed.
    HidapiPort();
    // Releases hidapi's global state; every handle must be gone by then.
    ~HidapiPort() override;
    HidapiPort(const HidapiPort&) = delete;
    HidapiPort& operator=(const HidapiPort&) = delete;

    // Every HID interface with a hidraw node, ordered by node number
    // (/dev/hidraw2 before /dev/hidraw10), so the same set of devices always
    // comes in the same order. Empty when none, or when hidapi is unusable.
    std::vector<HidInterfaceInfo> Enumerate() override;

    // Opens a hidraw node for reading and writing. On failure returns nullptr
    // and sets *error: NotFound (no such node), AccessDenied (the node exists
    // but this user may not open it), Other (anything else).
    std::unique_ptr<HidHandle> Open(const std::string& path, OpenError* error) override;

    // From udev's rule directories and its database entry for the node.
    AccessDenial ExplainAccessDenied(const std::string& path) override;

  private:
    bool m_initialised = false;
    // hidapi's enumeration and opening share its one global error text, which
    // each call frees and replaces: calls on two threads free it twice. They
    // and m_gates are taken one thread at a time.
    std::mutex m_mutex;
    // One per node: a write that hangs holds up only later writes to it.
    std::map<std::string, std::unique_ptr<WriteGate>> m_gates;
};

}  // namespace dev
