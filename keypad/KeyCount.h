#pragma once
// The keypad variant has 20 keys, KEY1 to KEY20.

inline constexpr int KEYPAD_KEY_COUNT = 20;
