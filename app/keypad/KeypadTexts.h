#pragma once
// Texts of the keypad subsystem: key names with two forms, the keypad
// caption, and the messages of Config keyboard, Read Config and Default
// Config.

#include "app/TextPair.h"
#include "keypad/KeyNameTable.h"

namespace kp::texts {

// Key names and captions shown in the keyboard view.
inline constexpr TextPair CLEAR_KEY_NAME{::CLEAR_KEY_NAME.zh, ::CLEAR_KEY_NAME.en};
inline constexpr TextPair ENTER_KEY_NAME{::ENTER_KEY_NAME.zh, ::ENTER_KEY_NAME.en};

// Config keyboard.
inline constexpr TextPair CONFIG_INIT_FAILED{
    "写入键盘配置初始化失败！", "Write a keyboard configuration initialization failed!"};
inline constexpr TextPair CONFIG_FAILED{"键盘数据配置失败！",
                                        "The keyboard data configuration failed !"};
inline constexpr TextPair CONFIG_OK{"键盘数据配置成功！",
                                    "The keyboard data configuration success !"};
inline constexpr TextPair NOT_SUPPORTED{"此设备不支持键盘设置！",
                                        "This device does not support keyboard Settings !"};

// What Set Device adds to its line after writing the key codes.

// Read Config.
inline constexpr TextPair READ_FAILED{"读取键盘配置失败！",
                                      "Read the keyboard configuration is failed!"};
inline constexpr TextPair REPAIR_SENT{
    "已发送修复指令，请再次按下“读取配置”按钮！",
    "Has been sent to repair instructions \n, Please press “reading configuration” button again !"};
inline constexpr TextPair READ_OK{"读取键盘配置成功！",
                                  "Read the keyboard configuration is successful!"};
inline constexpr TextPair SLOW_READ_PROMPT{
    "读取键盘数据失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项",
    "Read the keyboard data, failure may be the machine's slow, so has smart for you to hang up "
    "to the computer slow response options"};

// Default Config.

}  // namespace kp::texts
