#include "keypad/KeyNameTable.h"

#include <string>

#include "keypad/KeypadTexts.h"
#include "toolkit/Gbk.h"

namespace {

constexpr KeyNameEntry Named(uint8_t code, const char* name) {
    return {code, {name, name}, {nullptr, nullptr}};
}

bool SameAsName(const std::string& gbk, const char* utf8) {
    return utf8 != nullptr && gbk == tk::Utf8ToGbk(utf8);
}

}  // namespace

const std::array<KeyNameEntry, 34> KEY_NAME_TABLE = {{
    Named(0xDC, "PAUSE"),     Named(0xDD, "NUMLOCK"),
    Named(0xDE, "DOWN"),      Named(0xDF, "RIGHT"),
    Named(0xE0, "UP"),        Named(0xE1, "LEFT"),
    Named(0xE2, "DELETE"),    Named(0xE3, "END"),
    Named(0xE4, "PAGE_DOWN"), Named(0xE5, "PAGE_UP"),
    Named(0xE6, "HOME"),      Named(0xE7, "INSERT"),
    Named(0xE8, "WIN"),       {0xE9, kp::texts::CLEAR_KEY_NAME, {"BACK", nullptr}},
    Named(0xEA, "ALT"),       Named(0xEB, "CTRL"),
    Named(0xEC, "SHIFT"),     Named(0xED, "F12"),
    Named(0xEE, "F11"),       Named(0xEF, "F10"),
    Named(0xF0, "F9"),        Named(0xF1, "F8"),
    Named(0xF2, "F7"),        Named(0xF3, "F6"),
    Named(0xF4, "F5"),        Named(0xF5, "F4"),
    Named(0xF6, "F3"),        Named(0xF7, "F2"),
    Named(0xF8, "F1"),        Named(0xF9, "SCROLL"),
    Named(0xFA, "CAPS"),      Named(0xFB, "TAB"),
    Named(0xFD, "ESC"),       {0xFE, kp::texts::ENTER_KEY_NAME, {"确认", nullptr}},
}};

const KeyNameEntry* FindKeyName(uint8_t code) {
    for (const KeyNameEntry& e : KEY_NAME_TABLE)
        if (e.code == code) return &e;
    return nullptr;
}

uint8_t KeyNameToCode(const std::string& gbk) {
    for (const KeyNameEntry& e : KEY_NAME_TABLE) {
        // Both forms are accepted whatever the UI language.
        if (SameAsName(gbk, e.shown.zh) || SameAsName(gbk, e.shown.en)) return e.code;
        for (const char* alias : e.aliases)
            if (SameAsName(gbk, alias)) return e.code;
    }
    return gbk.empty() ? 0x00 : static_cast<uint8_t>(gbk[0]);
}

std::string KeyCodeText(uint8_t code) {
    if (const KeyNameEntry* e = FindKeyName(code)) return tk::Utf8ToGbk(e->shown.Get());
    return code == 0x00 ? std::string() : std::string(1, static_cast<char>(code));
}

std::string KeyCodeToName(const std::string& text, int index) {
    if (index < 0 || index >= KEYPAD_KEY_COUNT) return text;
    if (const KeyNameEntry* e = FindKeyName(g_keyCodesIn[static_cast<size_t>(index)]))
        return tk::Utf8ToGbk(e->shown.Get());
    return text;
}
