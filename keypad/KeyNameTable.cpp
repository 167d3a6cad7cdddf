#include "keypad/KeyNameTable.h"

#include <string>
#include <vector>

#include "base/Gbk.h"

namespace {

constexpr KeyNameEntry Named(uint8_t code, const char* name) {
    return {code, {name, name}, {nullptr, nullptr}};
}

}  // namespace

const std::array<KeyNameEntry, 34> KEY_NAME_TABLE = {{
    Named(0xDC, "PAUSE"),     Named(0xDD, "NUMLOCK"),
    Named(0xDE, "DOWN"),      Named(0xDF, "RIGHT"),
    Named(0xE0, "UP"),        Named(0xE1, "LEFT"),
    Named(0xE2, "DELETE"),    Named(0xE3, "END"),
    Named(0xE4, "PAGE_DOWN"), Named(0xE5, "PAGE_UP"),
    Named(0xE6, "HOME"),      Named(0xE7, "INSERT"),
    Named(0xE8, "WIN"),       {0xE9, CLEAR_KEY_NAME, {"BACK", nullptr}},
    Named(0xEA, "ALT"),       Named(0xEB, "CTRL"),
    Named(0xEC, "SHIFT"),     Named(0xED, "F12"),
    Named(0xEE, "F11"),       Named(0xEF, "F10"),
    Named(0xF0, "F9"),        Named(0xF1, "F8"),
    Named(0xF2, "F7"),        Named(0xF3, "F6"),
    Named(0xF4, "F5"),        Named(0xF5, "F4"),
    Named(0xF6, "F3"),        Named(0xF7, "F2"),
    Named(0xF8, "F1"),        Named(0xF9, "SCROLL"),
    Named(0xFA, "CAPS"),      Named(0xFB, "TAB"),
    Named(0xFD, "ESC"),       {0xFE, ENTER_KEY_NAME, {"确认", nullptr}},
}};

const KeyNameEntry* FindKeyName(uint8_t code) {
    for (const KeyNameEntry& e : KEY_NAME_TABLE)
        if (e.code == code) return &e;
    return nullptr;
}

namespace {

// Every text a row accepts (both shown forms and the aliases), in GBK,
// converted once: Config keyboard looks up 20 fields against the whole table,
// and a conversion per comparison cost about a thousand of them.
constexpr size_t FORMS_PER_ROW = 4;
using GbkForms = std::array<std::string, FORMS_PER_ROW>;  // empty: no such form

const std::vector<GbkForms>& AcceptedForms() {
    static const std::vector<GbkForms> forms = [] {
        std::vector<GbkForms> rows;
        for (const KeyNameEntry& e : KEY_NAME_TABLE) {
            // Both shown forms are accepted whatever the UI language.
            const char* texts[FORMS_PER_ROW] = {e.shown.zh, e.shown.en, e.aliases[0], e.aliases[1]};
            GbkForms row;
            for (size_t i = 0; i < FORMS_PER_ROW; ++i)
                if (texts[i]) row[i] = tk::Utf8ToGbk(texts[i]);
            rows.push_back(row);
        }
        return rows;
    }();
    return forms;
}

}  // namespace

uint8_t KeyNameToCode(const std::string& gbk) {
    if (gbk.empty()) return 0x00;
    const std::vector<GbkForms>& forms = AcceptedForms();
    for (size_t row = 0; row < KEY_NAME_TABLE.size(); ++row)
        for (const std::string& form : forms[row])
            if (form == gbk) return KEY_NAME_TABLE[row].code;
    return static_cast<uint8_t>(gbk[0]);
}

std::string KeyCodeName(uint8_t code, bool english) {
    if (const KeyNameEntry* e = FindKeyName(code))
        return tk::Utf8ToGbk(english ? e->shown.en : e->shown.zh);
    return code == 0x00 ? std::string() : std::string(1, static_cast<char>(code));
}
