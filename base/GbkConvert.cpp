// The GBK conversion over the generated table: decoding indexes it, encoding
// searches its reverse index.

#include "base/GbkConvert.h"

#include <algorithm>
#include <cstdint>

#include "base/GbkTable.h"

namespace tk::gbk {
namespace {

// The code point of a GBK code of BY_CODE_POINT.
char32_t CodePointOf(uint16_t code) {
    if (code <= 0xFF) return SINGLE_BYTE_TABLE[code - 0x80];
    return PAIR_TABLE[((code >> 8) - FIRST_LEAD) * TRAILS + (code & 0xFF) - FIRST_TRAIL];
}

// The character of the GBK sequence at in[0..length) and its length in
// bytes; length 0 when none starts there.
struct Decoded {
    char32_t codePoint = 0;
    size_t length = 0;
};

Decoded DecodeGbk(const unsigned char* in, size_t length) {
    const unsigned char b = in[0];
    if (b < 0x80) return {b, 1};
    if (b >= FIRST_LEAD && b <= LAST_LEAD && length >= 2 && in[1] >= FIRST_TRAIL &&
        in[1] <= LAST_TRAIL)
        if (const uint16_t cp = PAIR_TABLE[(b - FIRST_LEAD) * TRAILS + in[1] - FIRST_TRAIL])
            return {cp, 2};
    if (const uint16_t cp = SINGLE_BYTE_TABLE[b - 0x80]) return {cp, 1};
    return {};
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Decoded DecodeUtf8(const unsigned char* in, size_t length) {
    const unsigned char b = in[0];
    if (b < 0x80) return {b, 1};
    size_t len;
    char32_t cp, min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return {};
    }
    if (len > length) return {};
    for (size_t i = 1; i < len; ++i) {
        if ((in[i] & 0xC0) != 0x80) return {};
        cp = cp << 6 | (in[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {cp, len};
}

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {  // the table holds nothing above U+FFFF
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Appends the GBK bytes of cp; false when GBK has no such character.
bool AppendGbk(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return true;
    }
    const uint16_t* end = BY_CODE_POINT + BY_CODE_POINT_COUNT;
    const uint16_t* it = std::lower_bound(
        BY_CODE_POINT, end, cp, [](uint16_t code, char32_t c) { return CodePointOf(code) < c; });
    if (it == end || CodePointOf(*it) != cp) return false;
    if (*it > 0xFF) out.push_back(static_cast<char>(*it >> 8));
    out.push_back(static_cast<char>(*it & 0xFF));
    return true;
}

}  // namespace

size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    size_t pos = 0;
    while (pos < length) {
        const Decoded d = direction == Direction::GbkToUtf8 ? DecodeGbk(bytes + pos, length - pos)
                                                            : DecodeUtf8(bytes + pos, length - pos);
        if (d.length == 0) break;
        if (direction == Direction::GbkToUtf8)
            AppendUtf8(d.codePoint, out);
        else if (!AppendGbk(d.codePoint, out))
            break;
        pos += d.length;
    }
    return pos;
}

}  // namespace tk::gbk
