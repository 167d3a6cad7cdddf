#pragma once
// Reading what the kernel says about HID devices: the ids in a hid device's
// uevent file, and the device-change events a kernel uevent message stands for.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace e2e {

struct HidIds {
    uint16_t bus = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// The ids of a line "HID_ID=0003:0000016C:000004F3" in a uevent text; nullopt
// when there is none or it is malformed.
std::optional<HidIds> ParseHidId(std::string_view ueventText);

// A kernel uevent message ("ACTION@DEVPATH" then NUL-separated KEY=VALUE
// fields): a hidraw node added gives an arrival then a tree change, one
// removed gives a removal then a tree change, as the tool's watcher reports
// them; anything else gives nothing.
std::vector<uint32_t> EventsForUevent(const char* message, size_t length);

}  // namespace e2e
