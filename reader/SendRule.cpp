#include "reader/SendRule.h"

#include <cstdio>

#include "base/Gbk.h"
#include "reader/SettingsFrame.h"

namespace reader {
namespace {

// The code point of the UTF-8 character ch (its first byte when broken).
uint32_t CodePoint(const std::string& ch) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(ch[i])); };
    if (ch.size() >= 4 && b(0) >= 0xF0)
        return (b(0) & 7) << 18 | (b(1) & 63) << 12 | (b(2) & 63) << 6 | (b(3) & 63);
    if (ch.size() >= 3 && b(0) >= 0xE0) return (b(0) & 15) << 12 | (b(1) & 63) << 6 | (b(2) & 63);
    if (ch.size() >= 2 && b(0) >= 0xC0) return (b(0) & 31) << 6 | (b(1) & 63);
    return ch.empty() ? 0 : b(0);
}

}  // namespace

std::string ShownCharacter(const std::string& ch) {
    char code[16];
    if (ch.starts_with(tk::BYTE_MARK_OPEN)) return ch;  // a byte that is no character
    const uint32_t cp = CodePoint(ch);
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    if (cp < 0x20 || cp == 0x7F) return code;
    return "\"" + ch + "\" (" + code + ")";
}

SendCheck CheckSendable(const std::string& utf8, FieldKind kind) {
    SendCheck c;
    if (utf8.find('\0') != std::string::npos) {
        c.status = SendStatus::Nul;
        c.offending = std::string(1, '\0');
        return c;
    }
    switch (tk::Utf8ToGbkExact(utf8, c.gbk, &c.offending)) {
        case tk::GbkResult::Ok:
            break;
        case tk::GbkResult::NotGbk:
            c.status = SendStatus::NotGbk;
            return c;
        case tk::GbkResult::Unavailable:
            c.status = SendStatus::Unavailable;
            return c;
    }
    // A key field sends its first byte.
    if (kind == FieldKind::KeyField && !c.gbk.empty() && c.gbk[0] == '\0') {
        c.status = SendStatus::Misread;
        c.offending = tk::GbkToUtf8(c.gbk.substr(0, 1));
    }
    return c;
}

bool IsOwnCode(uint8_t b, int index) {
    if (b == 0x00 || b >= LONG_TEXT_BASE) return false;
    if (IsSentinelField(index)) return b != CODE_EMPTY;
    if (IsIdSymbolField(index)) return b != CODE_OFF;
    return true;
}

}  // namespace reader
