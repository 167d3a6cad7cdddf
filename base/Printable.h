#pragma once
// Text a device chose (a serial number, a path) on its way to a terminal or
// a file a person opens: a control character would move the cursor, recolour
// the terminal or start a forged line, so each one is shown as a byte mark
// («1B»), as the tool shows every byte that is no character.

#include <string>

namespace tk {

inline std::string Printable(const std::string& text) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) {
            out += c;
            continue;
        }
        out += "\xC2\xAB";
        out += HEX[b >> 4];
        out += HEX[b & 15];
        out += "\xC2\xBB";
    }
    return out;
}

}  // namespace tk
