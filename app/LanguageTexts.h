#pragma once
// Texts of the language switch: the control captions of both views, the menu
// bar, the window title and the About box.

#include <array>

#include "app/ControlIds.h"
#include "app/TextPair.h"

namespace texts {

// The keypad group box: the switch and Default Config both set it.
inline constexpr TextPair KEYPAD_GROUP_CAPTION{"键盘", "KEYBOARD"};

struct CaptionRow {
    int id;
    TextPair text;
    // The keypad group box's background is not painted, so a shorter caption
    // would leave the old one's pixels behind: it is blanked first.
    bool blankFirst = false;
};

inline constexpr const char* BLANK_GROUP_CAPTION = "        ";

// Every caption that follows the language, in the order the switch sets them.
// The two batch buttons are not here: their caption also depends on whether
// their batch mode runs.
inline constexpr std::array<CaptionRow, 49> CAPTION_TABLE = {{
    {ids::IDC_CONFIG_KEY, {"配置键盘", "Config key"}},
    {ids::IDC_DEFAULT_KEYS, {"恢复默认", "Default Config"}},
    {ids::IDC_READ_CONFIG, {"读取配置", "Read Config"}},
    {ids::IDC_AUTO_KEYBOARD, {"自动键盘配置", "Keyboard auto configuration"}},
    {ids::IDC_KEYPAD_GROUP, KEYPAD_GROUP_CAPTION, true},
    {ids::IDC_COMPUTER_SLOW, {"电脑反应慢    ", "Computer slow"}},
    {ids::IDC_SHIELD_KEYS, {"屏蔽键盘控制键\t\t", "Shield control keys"}},
    {ids::IDC_ID_AREA, {"ID卡设置区域", "ID card set area"}},
    {ids::IDC_DECIMAL_GROUP, {"10进制输出", "Decimal output"}},
    {ids::IDC_HEX_GROUP, {"16进制输出", "Hexadecimal"}},
    {ids::IDC_FORMAT_FIRST + 0, {"10位10进制（ID后4字节转换）", "10 decimal (4 bytes) after ID"}},
    {ids::IDC_FORMAT_FIRST + 1,
     {"10位10进制反向输出（ID后4字节转换）", "10 decimal counter output (4 bytes) after ID"}},
    {ids::IDC_FORMAT_FIRST + 2, {"8位10进制（ID后3字节转换）", "8 decimal (ID after 3 bytes)"}},
    {ids::IDC_FORMAT_FIRST + 3,
     {"00+8位10进制（ID后3字节转换）", "00 + 8 decimal (ID after 3 bytes)"}},
    {ids::IDC_FORMAT_FIRST + 4, {"8位10进制（ID后4字节转换）", "8 decimal (ID after 4 bytes)"}},
    {ids::IDC_FORMAT_FIRST + 5, {"8位10进制（卡上后8位）", "8-bit decimal (8 bits) after card"}},
    {ids::IDC_FORMAT_FIRST + 6, {"5位10进制（卡上后5位）", "5-bit decimal (5 bits) after card"}},
    {ids::IDC_FORMAT_FIRST + 7,
     {"13位10进制（ID后5字节转10进制）", "After 13 decimal (ID turn 5 bytes decimal)"}},
    {ids::IDC_FORMAT_FIRST + 8, {"18位10进制（卡上全部数字）", "All 18 decimal (card number)"}},
    {ids::IDC_FORMAT_FIRST + 9, {"8位16进制", "8 hexadecimal"}},
    {ids::IDC_FORMAT_FIRST + 10, {"8位16进制反向输出", "8 hexadecimal reverse output"}},
    {ids::IDC_FORMAT_FIRST + 11,
     {"10位16进制（5字节16进制）", "10 hexadecimal 5 bytes (hexadecimal)"}},
    {ids::IDC_FORMAT_FIRST + 12, {"2H4D + 2H4D", "2H4D + 2H4D"}},
    {ids::IDC_FILTER_EQUALS, {"'='号及后字符过滤", "'=' number and character after filtering"}},
    {ids::IDC_SYMBOL_GROUP, {"ID卡添加符号", "ID card to add symbols"}},
    {ids::IDC_MIDDLE_SEP, {"中间分隔符：", "Middle separator:"}},
    {ids::IDC_START_SEP, {"起始符：", "Start separator:"}},
    {ids::IDC_END_SEP, {"结束符：", "End separator:"}},
    {ids::IDC_ENTER_AFTER, {"数据后面加回车", "Behind the data and press enter"}},
    {ids::IDC_MAG_AREA, {"磁卡设置区域", "Magnetic card set area"}},
    {ids::IDC_SENTINELS, {"磁道起始符和结束符", "SS and ES flag option"}},
    {ids::IDC_TRACK_GROUP, {"输出轨道", "Output track option"}},
    {ids::IDC_CR_GROUP, {"输出轨道回车CR标志", "Output CR flag option"}},
    {ids::IDC_SENTINEL_START_HEAD, {"起始符", "Start"}},
    {ids::IDC_SENTINEL_END_HEAD, {"结束符", "End"}},
    {ids::IDC_SENTINEL_TRK1_HEAD, {"磁道1：", "TRK1:"}},
    {ids::IDC_SENTINEL_TRK2_HEAD, {"磁道2：", "TRK2:"}},
    {ids::IDC_SENTINEL_TRK3_HEAD, {"磁道3：", "TRK3:"}},
    {ids::IDC_TRACK1, {"输出一轨道数据", "Output track 1 data"}},
    {ids::IDC_TRACK2, {"输出二轨道数据", "Output track 2 data"}},
    {ids::IDC_TRACK3, {"输出三轨道数据", "Output track 3 data"}},
    {ids::IDC_CR_TRACK1, {"一轨数据结束时带回车（CR）", "Output(CR) flag at the end of track 1"}},
    {ids::IDC_CR_TRACK2, {"二轨数据结束时带回车（CR）", "Output(CR) flag at the end of track 2"}},
    {ids::IDC_CR_TRACK3, {"三轨数据结束时带回车（CR）", "Output(CR) flag at the end of track 3"}},
    {ids::IDC_CR_PACKET, {"整包数据结束时带回车（CR）", "Output(CR) flag at the end of packet"}},
    {ids::IDC_CLEAR, {"清空", "EMPTY"}},
    {ids::IDC_SET_DEVICE, {"设置设备", "Set Device"}},
    {ids::IDC_DEFAULT_SETTING, {"默认设置", "Default Setting"}},
    {ids::IDC_READ_DEVICE, {"读取配置", "Read Device"}},
}};

inline constexpr TextPair BATCH_START{"开始批量设置", "Start batch set"};
inline constexpr TextPair BATCH_STOP{"停止批量设置", "Stop batch set"};

// Menu bar and window title.
inline constexpr TextPair MENU_ABOUT_POPUP{"关于软件 ", "  About the software  "};
inline constexpr TextPair MENU_INSTRUCTIONS{"软件操作说明", "Software instructions"};
inline constexpr TextPair MENU_SOFTWARE_INFO{"软件信息", "Software information"};
inline constexpr TextPair MENU_UPDATE{"软件更新", "Software update"};
inline constexpr TextPair MENU_TO_KEYBOARD_VIEW{"切换到键盘设置界面",
                                                "\tSwitch to keyboard Settings\t"};
inline constexpr TextPair MENU_TO_GENERAL_VIEW{"切换到普通设置界面",
                                               "\tSwitch to normal Settings\t"};
inline constexpr TextPair MENU_EXIT{"退出 ", "  EXIT  "};
inline constexpr TextPair TITLE_GENERAL_VIEW{"USB 读卡器设置", "USB card reader setup"};
inline constexpr TextPair TITLE_KEYBOARD_VIEW{"键盘设置", "Config keyboard"};

// About box.
inline constexpr TextPair ABOUT_TITLE{"关于Vorn软件", "About Vorn software"};
inline constexpr TextPair ABOUT_OK{"确定", "OK"};
inline constexpr TextPair ABOUT_NAME{"USB读卡器设置软件", "USB card reader setup software"};
inline constexpr TextPair ABOUT_NOTICE{"本软件按原样提供，不附带任何担保。",
                                       "This software is provided as is, without any warranty."};

}  // namespace texts
