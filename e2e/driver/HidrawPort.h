#pragma once
// A bare hidraw HidPort, only for the end-to-end driver while the tool's
// hidapi adapter is not at hand. Platform.cpp is the one place that picks it.

#include <string>

#include "device/HidPort.h"

namespace e2e {

class HidrawPort : public dev::HidPort {
  public:
    // hidraw nodes in number order, with the ids of their HID device.
    std::vector<dev::HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<dev::HidHandle> Open(const std::string& path, dev::OpenError* error) override;
};

}  // namespace e2e
