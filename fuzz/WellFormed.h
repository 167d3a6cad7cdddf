#pragma once
// Structural checks of the two encodings the tool handles: UTF-8 in the
// widgets, GBK in frames and byte rules.

#include <cstdint>
#include <string>

#include "base/Gbk.h"

namespace fuzz {

// Whole GBK characters only: ASCII, 0x80 (the euro sign of code page 936)
// and lead bytes each with a trail byte.
inline bool IsWellFormedGbk(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b <= 0x80) continue;
        if (!tk::IsGbkLeadByte(b) || i + 1 >= s.size()) return false;
        const auto t = static_cast<unsigned char>(s[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    }
    return true;
}

inline bool IsWellFormedUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t n = 0;
        uint32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF)
            n = 1, cp = b & 0x1Fu;
        else if (b >= 0xE0 && b <= 0xEF)
            n = 2, cp = b & 0x0Fu;
        else if (b >= 0xF0 && b <= 0xF4)
            n = 3, cp = b & 0x07u;
        else
            return false;
        if (i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = cp << 6 | (c & 0x3Fu);
        }
        constexpr uint32_t LEAST[] = {0, 0x80, 0x800, 0x10000};
        if (cp < LEAST[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

}  // namespace fuzz
