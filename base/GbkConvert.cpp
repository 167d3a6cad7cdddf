// The GBK conversion over the generated table: decoding indexes it, encoding
// searches a reverse index built from it on first use, so both directions
// always agree.

#include "base/GbkConvert.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/GbkTable.h"

namespace tk::gbk {
namespace {

struct Reverse {
    uint16_t codePoint;
    uint16_t gbk;  // one byte from 0x80 up, or lead * 256 + trail
};

// Every GBK character beyond ASCII, ordered by code point.
const std::vector<Reverse>& ReverseIndex() {
    static const std::vector<Reverse> index = [] {
        std::vector<Reverse> r;
        for (size_t b = 0; b < SINGLE_BYTES; ++b)
            if (SINGLE_BYTE_TABLE[b] != 0)
                r.push_back({SINGLE_BYTE_TABLE[b], static_cast<uint16_t>(0x80 + b)});
        for (size_t i = 0; i < LEADS * TRAILS; ++i)
            if (PAIR_TABLE[i] != 0)
                r.push_back({PAIR_TABLE[i], static_cast<uint16_t>((FIRST_LEAD + i / TRAILS) * 256 +
                                                                  FIRST_TRAIL + i % TRAILS)});
        std::sort(r.begin(), r.end(),
                  [](const Reverse& a, const Reverse& b) { return a.codePoint < b.codePoint; });
        return r;
    }();
    return index;
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
    const std::vector<Reverse>& index = ReverseIndex();
    const auto it = std::lower_bound(index.begin(), index.end(), cp,
                                     [](const Reverse& r, char32_t c) { return r.codePoint < c; });
    if (it == index.end() || it->codePoint != cp) return false;
    if (it->gbk > 0xFF) out.push_back(static_cast<char>(it->gbk >> 8));
    out.push_back(static_cast<char>(it->gbk & 0xFF));
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
