#pragma once
// Conversion between the widgets' UTF-8 and the GBK bytes that the tool
// measures and sends, over one table on every platform: glibc's GBK
// (base/GbkTable.h), so that the same bytes show the same way on Linux and
// Windows.
//
// Every byte sequence survives the way to a widget and back: a byte that is
// no GBK character (a lone lead byte, 0xFF, a pair GBK leaves unassigned)
// and the byte 0x00 are shown as BYTE_MARK_OPEN, two upper-case hex digits
// and BYTE_MARK_CLOSE ("«81»"), which converts back to that byte; a control
// character may be written as a mark too ("«0D»"). The marks
// are no GBK characters, so no text a user types can be taken for one by
// accident.
//
// Utf8ToGbk turns a character GBK cannot hold into "?"; Utf8ToGbkExact says
// which character it was instead, for the callers that must not send it.
// Invalid input never crashes: bad UTF-8 becomes "?" as well.

#include <cstddef>
#include <string>

namespace tk {

inline constexpr const char* BYTE_MARK_OPEN = "\xC2\xAB";   // «
inline constexpr const char* BYTE_MARK_CLOSE = "\xC2\xBB";  // »

std::string Utf8ToGbk(const std::string& utf8);
// The mark of one byte: «XX».
std::string ByteMark(unsigned char b);
std::string GbkToUtf8(const std::string& gbk);

enum class GbkResult {
    Ok,
    NotGbk,       // a character GBK cannot hold, or broken UTF-8
    Unavailable,  // the GBK conversion is off (tests), and the text needs one
};
// Converts utf8 to GBK only when every character can be converted. On
// NotGbk, *offending (when given) holds the first such character (UTF-8).
// Text of ASCII characters and byte marks converts without the table.
GbkResult Utf8ToGbkExact(const std::string& utf8, std::string& gbk,
                         std::string* offending = nullptr);

// Whether the GBK conversion is on: always, unless a test turned it off.
bool GbkAvailable();
// For tests: behave as a system without the GBK conversion (the window's
// message for that case).
void SimulateGbkUnavailable(bool unavailable);

// True when b starts a two-byte GBK character.
inline bool IsGbkLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

// Length in bytes of the longest prefix of gbk that holds at most maxBytes
// bytes and ends on a character boundary.
size_t GbkPrefixLength(const std::string& gbk, size_t maxBytes);

}  // namespace tk
