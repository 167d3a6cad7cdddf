#include "device/HidrawPaths.h"

#include <algorithm>
#include <utility>

namespace dev {
namespace {

// The path without its trailing decimal number, and that number without
// leading zeros.
std::pair<std::string, std::string> SplitTrailingNumber(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] >= '0' && s[end - 1] <= '9') --end;
    std::string digits = s.substr(end);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    return {s.substr(0, end), digits};
}

}  // namespace

bool HidrawPathBefore(const std::string& a, const std::string& b) {
    const auto [headA, numA] = SplitTrailingNumber(a);
    const auto [headB, numB] = SplitTrailingNumber(b);
    if (headA != headB) return headA < headB;
    if (numA.size() != numB.size()) return numA.size() < numB.size();
    if (numA != numB) return numA < numB;
    return a < b;
}

std::string ReportDescriptorPathOf(const std::string& devicePath) {
    const size_t slash = devicePath.find_last_of('/');
    const std::string node = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    return "/sys/class/hidraw/" + node + "/device/report_descriptor";
}

}  // namespace dev
