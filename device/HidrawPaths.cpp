#include "device/HidrawPaths.h"

#include <algorithm>
#include <fstream>
#include <utility>
#include <vector>

#include "device/HidLink.h"

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

std::optional<ReportLengths> ReadReportLengthsFrom(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(MAX_REPORT_DESCRIPTOR_LEN);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    if (bytes.empty()) return std::nullopt;
    return ParseReportLengths(bytes.data(), bytes.size());
}

std::string UdevProperties(const std::string& sysfsDir) {
    const std::optional<ReportLengths> r =
        ReadReportLengthsFrom(sysfsDir + "/device/report_descriptor");
    return std::string("READER_CONFIG_SETTINGS=") + (r && IsSettingsReports(*r) ? "1" : "0") + "\n";
}

std::string ReportDescriptorPathOf(const std::string& devicePath) {
    const size_t slash = devicePath.find_last_of('/');
    const std::string node = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    return "/sys/class/hidraw/" + node + "/device/report_descriptor";
}

}  // namespace dev
