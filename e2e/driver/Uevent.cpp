#include "e2e/driver/Uevent.h"

#include <charconv>
#include <string>

#include "device/DeviceWatcher.h"

namespace e2e {

namespace {

bool ParseHex(std::string_view s, uint32_t& v) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

std::optional<HidIds> ParseHidId(std::string_view text) {
    constexpr std::string_view KEY = "HID_ID=";
    size_t at = 0;
    while (at < text.size() && text.compare(at, KEY.size(), KEY) != 0) {
        const size_t nl = text.find('\n', at);
        at = nl == std::string_view::npos ? text.size() : nl + 1;
    }
    if (at >= text.size()) return std::nullopt;
    std::string_view value = text.substr(at + KEY.size());
    value = value.substr(0, value.find('\n'));
    const size_t c1 = value.find(':');
    const size_t c2 = value.find(':', c1 == std::string_view::npos ? value.size() : c1 + 1);
    uint32_t bus = 0, vendor = 0, product = 0;
    if (c2 == std::string_view::npos || !ParseHex(value.substr(0, c1), bus) ||
        !ParseHex(value.substr(c1 + 1, c2 - c1 - 1), vendor) ||
        !ParseHex(value.substr(c2 + 1), product) || bus > 0xFFFF || vendor > 0xFFFF ||
        product > 0xFFFF)
        return std::nullopt;
    return HidIds{static_cast<uint16_t>(bus), static_cast<uint16_t>(vendor),
                  static_cast<uint16_t>(product)};
}

std::vector<uint32_t> EventsForUevent(const char* message, size_t length) {
    std::string_view action, subsystem;
    const std::string_view all(message, length);
    for (size_t at = 0; at < all.size();) {
        const size_t end = std::min(all.find('\0', at), all.size());
        const std::string_view field = all.substr(at, end - at);
        if (field.starts_with("ACTION=")) action = field.substr(7);
        if (field.starts_with("SUBSYSTEM=")) subsystem = field.substr(10);
        at = end + 1;
    }
    if (subsystem != "hidraw") return {};
    if (action == "add") return {dev::DBT_DEVICEARRIVAL, dev::DBT_DEVNODES_CHANGED};
    if (action == "remove") return {dev::DBT_DEVICEREMOVECOMPLETE, dev::DBT_DEVNODES_CHANGED};
    return {};
}

}  // namespace e2e
