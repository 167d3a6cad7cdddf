#pragma once
// The commands' readers on Windows: the SetupAPI/hid.dll port, and device
// notifications through a message-only window that a pump waits on.

#include <cstdint>
#include <memory>
#include <vector>

#include "cli/CommandMain.h"
#include "device/win32/Win32DeviceWatcher.h"

namespace cli {

// A message-only window registered for HID arrival and removal from the
// start, and the wait for its messages. Made, waited on and destroyed on one
// thread. WaitForDevice delivers the events that came to the watcher's
// receiver, if one is registered; without the window (the system refused
// it) no event can come.
class Win32DevicePump : public EventPump {
  public:
    Win32DevicePump();
    ~Win32DevicePump() override;
    Win32DevicePump(const Win32DevicePump&) = delete;
    Win32DevicePump& operator=(const Win32DevicePump&) = delete;

    dev::Win32DeviceWatcher& Watcher() { return *m_watcher; }
    // The HWND, null when it could not be made.
    void* Window() const { return m_window; }

    bool WaitForDevice(int timeoutMs) override;

  private:
    void* m_window = nullptr;
    std::unique_ptr<dev::Win32DeviceWatcher> m_watcher;
    std::vector<uint32_t> m_events;  // WM_DEVICECHANGE codes not yet delivered
};

// A SystemDevicesMaker.
std::unique_ptr<SystemDevices> MakeWin32Devices();

// The language of the messages: the locale's when the environment names one
// (LC_ALL, LC_MESSAGES, LANG), else the user's interface language.
Language Win32Language();

}  // namespace cli
