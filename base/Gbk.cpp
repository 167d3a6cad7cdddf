#include "base/Gbk.h"

#include <atomic>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "base/GbkConvert.h"

namespace tk {
namespace {

enum class Direction { ToGbk, ToUtf8 };

// Set by tests only (SimulateGbkUnavailable).
std::atomic<bool> g_simulateUnavailable{false};

// The table's part, all of it: the strict conversion of a whole text, which
// fails at any character the target cannot hold or the source spells wrongly.
// The table is always there; only a test takes it away.
bool TableAvailable() {
    return !g_simulateUnavailable;
}

std::optional<std::string> TableConvert(Direction d, std::string_view in) {
    if (!TableAvailable()) return std::nullopt;
    std::string out;
    const size_t used = gbk::ConvertPrefix(
        d == Direction::ToGbk ? gbk::Direction::Utf8ToGbk : gbk::Direction::GbkToUtf8, in.data(),
        in.size(), out);
    if (used != in.size()) return std::nullopt;
    return out;
}

// Length of the UTF-8 sequence that starts with b (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4) return 4;
    if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
    if (b >= 0xC2) return 2;
    return 1;
}

constexpr std::string_view MARK_OPEN = BYTE_MARK_OPEN;
constexpr std::string_view MARK_CLOSE = BYTE_MARK_CLOSE;
constexpr size_t MARK_LEN = 2 + 2 + 2;  // open, two hex digits, close

// The bytes a mark may stand for: 0x00, and every byte from 0x80 up that is
// not part of a character (both shown as marks), and the control characters,
// which a profile writes as marks to keep them visible.
bool MayBeMarked(unsigned char b) {
    return b < 0x20 || b == 0x7F || b >= 0x80;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte of a mark that starts utf8 at i; nullopt when none starts there.
std::optional<unsigned char> MarkAt(std::string_view utf8, size_t i) {
    if (utf8.size() - i < MARK_LEN || utf8.substr(i, 2) != MARK_OPEN ||
        utf8.substr(i + 4, 2) != MARK_CLOSE)
        return std::nullopt;
    const int hi = HexValue(utf8[i + 2]), lo = HexValue(utf8[i + 3]);
    if (hi < 0 || lo < 0) return std::nullopt;
    const auto b = static_cast<unsigned char>(hi * 16 + lo);
    if (!MayBeMarked(b)) return std::nullopt;
    return b;
}

// Converts utf8 character by character; a character that cannot be
// converted becomes "?" and is reported through *offending (first one only).
GbkResult ToGbk(const std::string& utf8, std::string& out, std::string* offending) {
    out.clear();
    GbkResult result = GbkResult::Ok;
    const std::string_view in = utf8;
    size_t i = 0;
    while (i < in.size()) {
        if (const auto b = MarkAt(in, i)) {
            out.push_back(static_cast<char>(*b));
            i += MARK_LEN;
            continue;
        }
        const auto lead = static_cast<unsigned char>(in[i]);
        if (lead < 0x80) {  // ASCII is the same in both
            out.push_back(in[i++]);
            continue;
        }
        size_t len = Utf8SequenceLength(lead);
        if (len > in.size() - i) len = in.size() - i;
        const std::string_view ch = in.substr(i, len);
        if (const auto converted = TableConvert(Direction::ToGbk, ch)) {
            out += *converted;
        } else {
            out.push_back('?');
            if (result == GbkResult::Ok) {
                result = TableAvailable() ? GbkResult::NotGbk : GbkResult::Unavailable;
                if (offending) *offending = std::string(ch);
            }
        }
        i += len;
    }
    return result;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    // The whole text at once when it can be: a character at a time costs more.
    if (utf8.find(MARK_OPEN) == std::string::npos)
        if (auto whole = TableConvert(Direction::ToGbk, utf8)) return *whole;
    std::string out;
    ToGbk(utf8, out, nullptr);
    return out;
}

GbkResult Utf8ToGbkExact(const std::string& utf8, std::string& gbk, std::string* offending) {
    return ToGbk(utf8, gbk, offending);
}

std::string GbkToUtf8(const std::string& gbk) {
    if (gbk.find('\0') == std::string::npos)
        if (auto whole = TableConvert(Direction::ToUtf8, gbk)) return *whole;
    std::string out;
    const std::string_view in = gbk;
    size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b != 0 && b < 0x80) {
            out.push_back(in[i++]);
            continue;
        }
        if (IsGbkLeadByte(b) && i + 1 < in.size())
            if (const auto pair = TableConvert(Direction::ToUtf8, in.substr(i, 2))) {
                out += *pair;
                i += 2;
                continue;
            }
        const auto single = b != 0 ? TableConvert(Direction::ToUtf8, in.substr(i, 1))
                                   : std::optional<std::string>();
        out += single ? *single : ByteMark(b);
        ++i;
    }
    return out;
}

bool GbkAvailable() {
    return TableAvailable();
}

void SimulateGbkUnavailable(bool unavailable) {
    g_simulateUnavailable = unavailable;
}

size_t GbkPrefixLength(const std::string& gbk, size_t maxBytes) {
    size_t i = 0;
    while (i < gbk.size()) {
        const size_t len = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) ? 2 : 1;
        if (i + len > maxBytes || i + len > gbk.size()) break;
        i += len;
    }
    return i;
}

std::string ByteMark(unsigned char b) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", b);
    return std::string(MARK_OPEN) + hex + std::string(MARK_CLOSE);
}

}  // namespace tk
