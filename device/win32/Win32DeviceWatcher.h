#pragma once
// DeviceWatcher over RegisterDeviceNotification: the dialog window is
// registered for arrival and removal of HID class device interfaces and
// receives WM_DEVICECHANGE (device-tree changes come to every top-level
// window anyway). The toolkit passes each WM_DEVICECHANGE's event code to
// Deliver, which hands it to the receiver.

#include <cstdint>

#include "device/DeviceWatcher.h"

namespace dev {

class Win32DeviceWatcher : public DeviceWatcher {
  public:
    // window: the HWND that receives the notifications.
    explicit Win32DeviceWatcher(void* window) : m_window(window) {}
    ~Win32DeviceWatcher() override { Unregister(); }
    Win32DeviceWatcher(const Win32DeviceWatcher&) = delete;
    Win32DeviceWatcher& operator=(const Win32DeviceWatcher&) = delete;

    // False when the system refused the registration (the receiver is kept:
    // device-tree changes still arrive).
    bool Register(DeviceChangeReceiver* receiver) override;
    // Ends the receiver's deliveries and the window's registration.
    void Unregister() override;
    // Registers the window for the notifications while no receiver is set,
    // for a window that waits for arrivals itself (a command's message-only
    // window, which device-tree changes do not reach). False as Register.
    bool Listen();

    // A WM_DEVICECHANGE the window received.
    void Deliver(uint32_t event, uintptr_t data);

  private:
    void* m_window;
    void* m_notification = nullptr;
    DeviceChangeReceiver* m_receiver = nullptr;
};

}  // namespace dev
