#pragma once
// The keypad's 20 keys, their factory codes, and the names of the device key
// codes that stand for named keys (function, navigation and modifier keys).
// A key that types a character holds that character's own byte instead.

#include <array>
#include <cstdint>
#include <string>

#include "keypad/KeyCount.h"

// A key's name in Chinese and in English.
struct KeyName {
    const char* zh;
    const char* en;
};
// The two names that differ by language.
inline constexpr KeyName CLEAR_KEY_NAME{"清除", "CLEAR"};
inline constexpr KeyName ENTER_KEY_NAME{"回车键", "ENTER"};

struct KeyNameEntry {
    uint8_t code;
    // The name a key field shows for the code; only Clear and Enter differ by language.
    KeyName shown;
    // Further exact texts that also mean the code when written.
    std::array<const char*, 2> aliases;
};

// Codes 0xDC to 0xFE, 0xFC left free. Names are UTF-8 here; lookups compare GBK bytes.
extern const std::array<KeyNameEntry, 34> KEY_NAME_TABLE;

// The factory layout, KEY1 to KEY20.
inline constexpr std::array<uint8_t, KEYPAD_KEY_COUNT> DEFAULT_KEY_CODES = {
    0xFD, 0xF8, 0xF7, 0xF6, 0x37, 0x38, 0x39, 0xF5, 0x34, 0x35,
    0x36, 0xF4, 0x31, 0x32, 0x33, 0xF3, 0xE9, 0x30, 0x2E, 0xFE};

// The table row of a code, nullptr when the code is no named key.
const KeyNameEntry* FindKeyName(uint8_t code);

// The device key code of a key field's text (GBK bytes): the code of a name
// of KEY_NAME_TABLE when the whole text equals one exactly, else the first
// byte, 0x00 for an empty text.
uint8_t KeyNameToCode(const std::string& gbk);

// The text to show for one code (GBK bytes): its name in English or
// Chinese, or the code's own byte as a one-character text, empty for 0x00.
std::string KeyCodeName(uint8_t code, bool english);
