#pragma once
// HidPort over SetupAPI and hid.dll (Windows). Enumeration walks the HID
// class's device interfaces in SetupAPI's order and reads each one's ids
// through a handle opened without access rights, so keyboards and mice that
// the system holds exclusively are listed too. A handle is one overlapped
// read/write handle; every transfer waits on an event with its time limit
// and a transfer still pending then is cancelled and its cancellation
// allowed to finish before its buffer is given up.

#include <memory>
#include <string>
#include <vector>

#include "device/HidPort.h"

namespace dev {

class Win32HidPort : public HidPort {
  public:
    // Every present HID interface whose ids could be read. Empty when none.
    std::vector<HidInterfaceInfo> Enumerate() override;

    // Opens an interface path for overlapped reading and writing, shared.
    // On failure returns nullptr and sets *error: NotFound (no such
    // interface), AccessDenied (access or sharing refused), Other.
    std::unique_ptr<HidHandle> Open(const std::string& path, OpenError* error) override;
};

}  // namespace dev
