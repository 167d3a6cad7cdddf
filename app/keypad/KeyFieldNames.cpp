#include "app/keypad/KeyFieldNames.h"

#include "app/Globals.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"

std::string KeyCodeText(uint8_t code) {
    return KeyCodeName(code, g_bEnglish != 0);
}

std::string KeyCodeToName(const std::string& text, int index) {
    if (index < 0 || index >= KEYPAD_KEY_COUNT) return text;
    if (const KeyNameEntry* e = FindKeyName(g_keyCodesIn[static_cast<size_t>(index)]))
        return tk::Utf8ToGbk(g_bEnglish ? e->shown.en : e->shown.zh);
    return text;
}
