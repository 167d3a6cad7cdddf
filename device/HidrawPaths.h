#pragma once
// Names of hidraw nodes and of their files in sysfs.

#include <string>

namespace dev {

// Path a sorts before path b: by the text before the trailing number, then
// by that number (/dev/hidraw2 before /dev/hidraw10), then by the plain text.
bool HidrawPathBefore(const std::string& a, const std::string& b);

// The sysfs file that holds the report descriptor of a hidraw node's device.
std::string ReportDescriptorPathOf(const std::string& devicePath);

}  // namespace dev
