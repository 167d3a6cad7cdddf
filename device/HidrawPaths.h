#pragma once
// Names of hidraw nodes and of their files in sysfs.

#include <optional>
#include <string>

#include "device/ReportDescriptor.h"

namespace dev {

// Path a sorts before path b: by the text before the trailing number, then
// by that number (/dev/hidraw2 before /dev/hidraw10), then by the plain text.
bool HidrawPathBefore(const std::string& a, const std::string& b);

// The sysfs file that holds the report descriptor of a hidraw node's device.
std::string ReportDescriptorPathOf(const std::string& devicePath);

// The report lengths of the descriptor in file; nullopt when it cannot be
// read or parsed.
std::optional<ReportLengths> ReadReportLengthsFrom(const std::string& file);

// What the udev rule imports for a hidraw node (sysfsDir, the node's
// directory in sysfs): "READER_CONFIG_SETTINGS=1" when its descriptor is the
// reader's settings interface, "=0" for any other node or one whose
// descriptor cannot be read, so that only the settings interface is handed
// to the user and never the reader's keyboard.
std::string UdevProperties(const std::string& sysfsDir);

}  // namespace dev
