#pragma once
// Conversion between the widgets' UTF-8 and the GBK bytes (code page 936)
// that the tool measures and sends. A character GBK cannot hold becomes "?",
// as the platform's own conversion does, so no byte sequence that is not GBK
// ever reaches a frame. Invalid input never crashes: bad UTF-8 or GBK bytes
// become "?" as well.

#include <cstddef>
#include <string>

namespace tk {

std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);

// True when b starts a two-byte GBK character.
inline bool IsGbkLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

// Length in bytes of the longest prefix of gbk that holds at most maxBytes
// bytes and ends on a character boundary.
size_t GbkPrefixLength(const std::string& gbk, size_t maxBytes);

}  // namespace tk
