// The GBK conversion primitive over the Windows code page functions
// (code page 936), through UTF-16.

#include <windows.h>

#include <string>

#include "base/GbkConvert.h"

namespace tk::gbk {
namespace {

constexpr UINT CP_GBK = 936;

// Length of the character that starts at in[0], in bytes of the source
// encoding (1 for a byte that starts none).
size_t CharLength(Direction direction, const unsigned char* in, size_t length) {
    const unsigned char b = in[0];
    size_t len = 1;
    if (direction == Direction::GbkToUtf8) {
        len = (b >= 0x81 && b <= 0xFE) ? 2 : 1;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
    } else if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    }
    return len <= length ? len : 0;
}

// Converts one whole stretch; false when any of it does not convert cleanly.
bool ConvertWhole(Direction direction, const char* in, size_t length, std::string& out) {
    if (length == 0) return true;
    const UINT from = direction == Direction::Utf8ToGbk ? CP_UTF8 : CP_GBK;
    const UINT to = direction == Direction::Utf8ToGbk ? CP_GBK : CP_UTF8;
    const int inLen = static_cast<int>(length);
    const int wideLen = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in, inLen, nullptr, 0);
    if (wideLen <= 0) return false;
    std::wstring wide(static_cast<size_t>(wideLen), L'\0');
    MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in, inLen, wide.data(), wideLen);
    BOOL usedDefault = FALSE;
    BOOL* lossy = to == CP_UTF8 ? nullptr : &usedDefault;  // UTF-8 holds every character
    const DWORD flags = to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int outLen =
        WideCharToMultiByte(to, flags, wide.data(), wideLen, nullptr, 0, nullptr, lossy);
    if (outLen <= 0 || usedDefault) return false;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(outLen));
    WideCharToMultiByte(to, flags, wide.data(), wideLen, out.data() + at, outLen, nullptr, nullptr);
    return true;
}

}  // namespace

bool Available() {
    return IsValidCodePage(CP_GBK) != FALSE;
}

size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out) {
    // Most texts convert whole; only a text with a bad character goes
    // character by character to find where it stops.
    if (ConvertWhole(direction, in, length, out)) return length;
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    size_t pos = 0;
    while (pos < length) {
        if (bytes[pos] < 0x80) {
            out.push_back(in[pos++]);
            continue;
        }
        const size_t len = CharLength(direction, bytes + pos, length - pos);
        if (len == 0 || !ConvertWhole(direction, in + pos, len, out)) break;
        pos += len;
    }
    return pos;
}

}  // namespace tk::gbk
