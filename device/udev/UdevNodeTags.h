#pragma once
// What udev's database says about a device node.

#include <optional>
#include <string>

namespace dev {

// Whether udev gives the character device node devnode the tag now (its
// current tags, not every tag it ever had). nullopt when the node does not
// exist or udev holds no record of it (no udev daemon, or not processed yet).
std::optional<bool> NodeHasCurrentTag(const std::string& devnode, const char* tag);

}  // namespace dev
