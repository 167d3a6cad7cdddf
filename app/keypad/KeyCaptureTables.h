#pragma once
// The special keys the key hook knows: what the keyboard view writes into a
// key field, and what the general view announces in the output pane.

#include <array>
#include <cstdint>

#include "app/TextPair.h"
#include "app/keypad/KeypadTexts.h"
#include "toolkit/KeyCodes.h"

namespace keycapture {

struct CaptureKey {
    uint8_t vk;
    TextPair name;  // written into the key field; differs by language for Backspace and Enter
};

// Tested in this order; the first key found down wins.
inline constexpr std::array<CaptureKey, 32> CAPTURE_TABLE = {{
    {tk::VK_ESCAPE, {"ESC", "ESC"}},
    {tk::VK_F1, {"F1", "F1"}},
    {tk::VK_F2, {"F2", "F2"}},
    {tk::VK_F3, {"F3", "F3"}},
    {tk::VK_F4, {"F4", "F4"}},
    {tk::VK_F5, {"F5", "F5"}},
    {tk::VK_F6, {"F6", "F6"}},
    {tk::VK_F7, {"F7", "F7"}},
    {tk::VK_F8, {"F8", "F8"}},
    {tk::VK_F9, {"F9", "F9"}},
    {tk::VK_F10, {"F10", "F10"}},
    {tk::VK_F11, {"F11", "F11"}},
    {tk::VK_F12, {"F12", "F12"}},
    {tk::VK_SCROLL, {"SCROLL", "SCROLL"}},
    {tk::VK_PAUSE, {"PAUSE", "PAUSE"}},
    {tk::VK_BACK, kp::texts::CLEAR_KEY_NAME},
    {tk::VK_INSERT, {"INSERT", "INSERT"}},
    {tk::VK_HOME, {"HOME", "HOME"}},
    {tk::VK_NUMLOCK, {"NUMLOCK", "NUMLOCK"}},
    {tk::VK_TAB, {"TAB", "TAB"}},
    {tk::VK_DELETE, {"DELETE", "DELETE"}},
    {tk::VK_CAPITAL, {"CAPS", "CAPS"}},
    {tk::VK_RETURN, kp::texts::ENTER_KEY_NAME},
    {tk::VK_SHIFT, {"SHIFT", "SHIFT"}},
    {tk::VK_UP, {"UP", "UP"}},
    {tk::VK_CONTROL, {"CTRL", "CTRL"}},
    {tk::VK_LWIN, {"WIN", "WIN"}},
    {tk::VK_MENU, {"ALT", "ALT"}},
    {tk::VK_RWIN, {"WIN", "WIN"}},
    {tk::VK_LEFT, {"LEFT", "LEFT"}},
    {tk::VK_DOWN, {"DOWN", "DOWN"}},
    {tk::VK_RIGHT, {"RIGHT", "RIGHT"}},
}};

struct AnnouncedKey {
    uint8_t vk;
    TextPair announcement;
};

inline constexpr std::array<AnnouncedKey, 12> FUNCTION_KEYS = {{
    {tk::VK_F1, {"你按下了 F1 功能键 ！", "You pressed the F1 key !"}},
    {tk::VK_F2, {"你按下了 F2 功能键 ！", "You pressed the F2 key !"}},
    {tk::VK_F3, {"你按下了 F3 功能键 ！", "You pressed the F3 key !"}},
    {tk::VK_F4, {"你按下了 F4 功能键 ！", "You pressed the F4 key !"}},
    {tk::VK_F5, {"你按下了 F5 功能键 ！", "You pressed the F5 key !"}},
    {tk::VK_F6, {"你按下了 F6 功能键 ！", "You pressed the F6 key !"}},
    {tk::VK_F7, {"你按下了 F7 功能键 ！", "You pressed the F7 key !"}},
    {tk::VK_F8, {"你按下了 F8 功能键 ！", "You pressed the F8 key !"}},
    {tk::VK_F9, {"你按下了 F9 功能键 ！", "You pressed the F9 key !"}},
    {tk::VK_F10, {"你按下了 F10 功能键 ！", "You pressed the F10 key !"}},
    {tk::VK_F11, {"你按下了 F11 功能键 ！", "You pressed the F11 key !"}},
    {tk::VK_F12, {"你按下了 F12 功能键 ！", "You pressed the F12 key !"}},
}};

// Control keys, group A.
inline constexpr std::array<AnnouncedKey, 5> CONTROL_KEYS_A = {{
    {tk::VK_SCROLL, {"你按下了 SCROLL 功能键 ！", "You pressed the SCROLL key !"}},
    {tk::VK_PAUSE, {"你按下了 PAUSE 功能键 ！", "You pressed the PAUSE key !"}},
    {tk::VK_BACK, {"你按下了 退格 功能键 ！", "You pressed the BACK key !"}},
    {tk::VK_INSERT, {"你按下了 INSERT 功能键 ！", "You pressed the INSERT key !"}},
    {tk::VK_HOME, {"你按下了 HOME 功能键 ！", "You pressed the HOME key !"}},
}};

// Control keys, group B.
inline constexpr std::array<AnnouncedKey, 14> CONTROL_KEYS_B = {{
    {tk::VK_NUMLOCK, {"你按下了 NUMLOCK 功能键 ！", "You pressed the NUMLOCK key !"}},
    {tk::VK_TAB, {"你按下了 TAB 功能键 ！", "You pressed the TAB key !"}},
    {tk::VK_CAPITAL, {"你按下了 CAPITAL 功能键 ！", "You pressed the CAPITAL key !"}},
    {tk::VK_RETURN, {"你按下了 回车 功能键 ！", "You pressed the ENTER key !"}},
    {tk::VK_UP, {"你按下了 UP 功能键 ！", "You pressed the UP key !"}},
    {tk::VK_DELETE, {"你按下了 DELETE 功能键 ！", "You pressed the DELETE key !"}},
    {tk::VK_SHIFT, {"你按下了 SHIFT 功能键 ！", "You pressed the SHIFT key !"}},
    {tk::VK_CONTROL, {"你按下了 CONTROL 功能键 ！", "You pressed the CONTROL key !"}},
    {tk::VK_LWIN, {"你按下了 LWIN 功能键 ！", "You pressed the LWIN key !"}},
    {tk::VK_MENU, {"你按下了 ALT 功能键 ！", "You pressed the ALT key !"}},
    {tk::VK_RWIN, {"你按下了 RWIN 功能键 ！", "You pressed the RWIN key !"}},
    {tk::VK_LEFT, {"你按下了 LEFT 功能键 ！", "You pressed the LEFT key !"}},
    {tk::VK_DOWN, {"你按下了 DOWN 功能键 ！", "You pressed the DOWN key !"}},
    {tk::VK_RIGHT, {"你按下了 RIGHT 功能键 ！", "You pressed the RIGHT key !"}},
}};

// Capture with no key field current: Chinese only, in both languages.
inline constexpr const char* NO_FIELD_PREFIX = "你按下了 ";
inline constexpr const char* NO_FIELD_SUFFIX = " 键！";

}  // namespace keycapture
