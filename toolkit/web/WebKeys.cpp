#include "toolkit/web/WebKeys.h"

#include <map>

#include "toolkit/KeyCodes.h"

namespace tk {

uint8_t VirtualKeyOfCode(const std::string& code) {
    static const std::map<std::string, uint8_t> NAMED = {
        {"ShiftLeft", VK_LSHIFT},
        {"ShiftRight", VK_RSHIFT},
        {"ControlLeft", VK_LCONTROL},
        {"ControlRight", VK_RCONTROL},
        {"AltLeft", VK_LMENU},
        {"AltRight", VK_RMENU},
        {"MetaLeft", VK_LWIN},
        {"MetaRight", VK_RWIN},
        {"Escape", VK_ESCAPE},
        {"ScrollLock", VK_SCROLL},
        {"Pause", VK_PAUSE},
        {"Backspace", VK_BACK},
        {"Insert", VK_INSERT},
        {"Home", VK_HOME},
        {"End", VK_END},
        {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},
        {"NumLock", VK_NUMLOCK},
        {"Tab", VK_TAB},
        {"Delete", VK_DELETE},
        {"CapsLock", VK_CAPITAL},
        {"Enter", VK_RETURN},
        {"NumpadEnter", VK_RETURN},
        {"Space", VK_SPACE},
        {"ArrowLeft", VK_LEFT},
        {"ArrowUp", VK_UP},
        {"ArrowRight", VK_RIGHT},
        {"ArrowDown", VK_DOWN},
    };
    if (auto it = NAMED.find(code); it != NAMED.end()) return it->second;
    // "KeyA".."KeyZ", "Digit0".."Digit9", "Numpad0".."Numpad9": the letter or digit.
    for (const std::string prefix : {"Key", "Digit", "Numpad"}) {
        if (code.size() == prefix.size() + 1 && code.compare(0, prefix.size(), prefix) == 0) {
            const char c = code.back();
            if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint8_t>(c);
        }
    }
    // "F1".."F12".
    if (code.size() >= 2 && code.size() <= 3 && code[0] == 'F') {
        int n = 0;
        for (size_t i = 1; i < code.size(); ++i) {
            if (code[i] < '0' || code[i] > '9') return 0;
            n = n * 10 + (code[i] - '0');
        }
        if (n >= 1 && n <= 12) return static_cast<uint8_t>(VK_F1 + n - 1);
    }
    return 0;
}

}  // namespace tk
