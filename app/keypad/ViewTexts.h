#pragma once
// Messages of the view switch and the keypad options.

#include "app/TextPair.h"

namespace viewtexts {

inline constexpr TextPair CONNECT_FIRST{"请连接设备再进行键盘配置 ！",
                                        "Please connect device for keyboard configuration !"};
inline constexpr TextPair TO_KEYBOARD_OK{"切换至键盘设置界面成功！",
                                         "Switch to the keyboard Settings interface successfully!"};
inline constexpr TextPair READ_ERROR{"读取键盘数据错误！", "Read the keyboard data error !"};
inline constexpr TextPair REPAIR_SENT{
    "已发送修复指令，请再次打开键盘配置！",
    "Has been sent to repair instructions \n, please open the keyboard layout again !"};
inline constexpr TextPair TO_GENERAL_OK{"切换至普通设置界面成功！",
                                        "Switch to the general Settings interface successfully!"};
inline constexpr TextPair KEYS_SHIELDED{"已屏蔽键盘功能键！",
                                        "Was blocking the keyboard function keys!"};
inline constexpr TextPair KEYS_UNSHIELDED{"已解除屏蔽键盘功能键！",
                                          "Has been unblock the keyboard function keys!"};

}  // namespace viewtexts
