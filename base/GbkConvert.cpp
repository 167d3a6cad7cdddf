// The GBK conversion over the generated tables: decoding indexes the table
// by lead and trail byte, encoding the reverse index by code point.

#include "base/GbkConvert.h"

#include <cstdint>

#include "base/GbkTable.h"

namespace tk::gbk {
namespace {

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

// Writes the UTF-8 of cp at dst and moves dst past it.
void PutUtf8(char32_t cp, char*& dst) {
    if (cp < 0x80) {
        *dst++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *dst++ = static_cast<char>(0xC0 | cp >> 6);
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {  // the table holds nothing above U+FFFF
        *dst++ = static_cast<char>(0xE0 | cp >> 12);
        *dst++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Writes the GBK bytes of cp at dst and moves dst past them; false when GBK
// has no such character.
bool PutGbk(char32_t cp, char*& dst) {
    if (cp < 0x80) {
        *dst++ = static_cast<char>(cp);
        return true;
    }
    if (cp > 0xFFFF) return false;
    const uint16_t block = ENCODE_BLOCK_OF_PAGE[cp >> 8];
    const uint16_t code = block == NO_BLOCK ? 0 : ENCODE_BLOCKS[block][cp & 0xFF];
    if (code == 0) return false;
    if (code > 0xFF) *dst++ = static_cast<char>(code >> 8);
    *dst++ = static_cast<char>(code & 0xFF);
    return true;
}

}  // namespace

size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    // Room for the longest result: a byte of GBK becomes at most three of
    // UTF-8 (0x80 is €), and no character grows on the way to GBK.
    const size_t at = out.size();
    out.resize(at + (direction == Direction::GbkToUtf8 ? 3 * length : length));
    char* dst = out.data() + at;
    size_t pos = 0;
    while (pos < length) {
        const Decoded d = direction == Direction::GbkToUtf8 ? DecodeGbk(bytes + pos, length - pos)
                                                            : DecodeUtf8(bytes + pos, length - pos);
        if (d.length == 0) break;
        if (direction == Direction::GbkToUtf8)
            PutUtf8(d.codePoint, dst);
        else if (!PutGbk(d.codePoint, dst))
            break;
        pos += d.length;
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return pos;
}

}  // namespace tk::gbk
