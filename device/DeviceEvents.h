#pragma once
// What one kernel device event means to the dialog: the device-change
// events it raises, in order. The same translation serves every source of
// such events (a udev monitor, or the kernel's own uevents).

#include <cstdint>
#include <string_view>
#include <vector>

namespace dev {

// subsystem: "hidraw" for a HID interface node, anything else (a USB device)
// for the rest of the device tree. action: "add", "remove", "change", "bind",
// "unbind", ... A HID interface arriving or leaving raises its arrival or
// removal event followed by a tree change; every other event is a tree
// change. An event without an action raises nothing.
std::vector<uint32_t> DeviceEventsFor(std::string_view subsystem, std::string_view action);

}  // namespace dev
