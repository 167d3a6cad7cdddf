#pragma once
// What the key fields show for key codes, in the window's current language.

#include <cstdint>
#include <string>

// The text to show for one code (GBK bytes): its name in the current UI
// language, or the code's own byte as a one-character text, empty for 0x00.
std::string KeyCodeText(uint8_t code);

// The text a key field shows for the code the keypad reported for key index
// (g_keyCodesIn[index]): the name when the code is a named key, else text
// unchanged. An index outside 0..19 also returns text unchanged.
std::string KeyCodeToName(const std::string& text, int index);
