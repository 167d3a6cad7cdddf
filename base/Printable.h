#pragma once
// Text a device chose (a serial number, a path) on its way to a terminal or
// a file a person opens: a control character would move the cursor, recolour
// the terminal or start a forged line, so each one is shown as a byte mark
// («1B»), as the tool shows every byte that is no character.

#include <string>

#include "base/Gbk.h"

namespace tk {

inline std::string Printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out += b >= 0x20 && b != 0x7F ? std::string(1, c) : ByteMark(b);
    }
    return out;
}

}  // namespace tk
