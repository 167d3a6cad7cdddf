#pragma once
// HidPort over SetupAPI and hid.dll (Windows). Enumeration walks the HID
// class's device interfaces in SetupAPI's order and reads each one's ids
// and serial number through a handle opened without access rights, so
// keyboards and mice that the system holds exclusively are listed too. A
// handle is one overlapped read/write handle; every transfer waits on an
// event with its time limit and a transfer still pending then is cancelled
// and its cancellation allowed to finish before its buffer is given up.

#include <memory>
#include <string>
#include <vector>

#include "device/HidPort.h"
#include "device/win32/HidSystem.h"

namespace dev {

class Win32HidPort : public HidPort {
  public:
    explicit Win32HidPort(win32::HidSystem& system = win32::SystemHidCalls()) : m_system(system) {}

    // Every present HID interface whose ids could be read, with the serial
    // number it reports, SetupAPI's device instance id as its instance and
    // the USB interface number from its path. Empty when none.
    std::vector<HidInterfaceInfo> Enumerate() override;

    // Opens an interface path for overlapped reading and writing, shared.
    // On failure returns nullptr and sets *error: NotFound (no such
    // interface, or it has gone), AccessDenied (access or sharing refused),
    // Other (also when its report lengths cannot be read).
    std::unique_ptr<HidHandle> Open(const std::string& path, OpenError* error) override;

  private:
    win32::HidSystem& m_system;
};

// The USB interface number in an interface path ("...&mi_01#..."); -1 when
// the path names none (a device with a single interface).
int InterfaceNumberOfPath(const std::string& path);

}  // namespace dev
