#pragma once
// Device arrival, removal and tree-change notifications, delivered to one
// receiver on the GUI thread. Over libudev in the tool; raised by the virtual
// port when a virtual device is attached or detached in tests.

#include <cstdint>

namespace dev {

// Event codes of the device-change notification.
enum DeviceChangeEvent : uint32_t {
    DBT_DEVNODES_CHANGED = 0x0007,
    DBT_DEVICEARRIVAL = 0x8000,
    DBT_DEVICEREMOVECOMPLETE = 0x8004,
};

class DeviceChangeReceiver {
  public:
    virtual ~DeviceChangeReceiver() = default;
    // Returns true when handled (the dialog always does).
    virtual bool OnDeviceChange(uint32_t event, uintptr_t data) = 0;
};

class DeviceWatcher {
  public:
    virtual ~DeviceWatcher() = default;
    // Starts delivering HID arrival/removal and tree changes to receiver.
    // Returns false when notifications cannot be delivered.
    virtual bool Register(DeviceChangeReceiver* receiver) = 0;
    // Stops delivering; safe to call when not registered.
    virtual void Unregister() = 0;
};

}  // namespace dev
