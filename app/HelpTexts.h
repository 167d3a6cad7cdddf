#pragma once
// Texts of the help, information and update commands and the keypad tip box.
// Each text is kept whole on its lines so that it can be found by searching
// for it; the formatter leaves these tables alone.

#include <array>

#include "app/LanguageTexts.h"
#include "app/TextPair.h"

// The version the texts show is the build's major.minor ("V4.0" for 4.0.0).
#ifndef READER_CONFIG_VERSION_SHORT
#error "READER_CONFIG_VERSION_SHORT comes from the build (CMakeLists.txt)"
#endif

namespace texts {

// clang-format off

// Operating instructions: the pieces are shown one after the other, as is.
inline constexpr TextPair INSTRUCTIONS_CAPTION = MENU_INSTRUCTIONS;  // captioned by its menu item
inline constexpr std::array<TextPair, 10> INSTRUCTIONS = {{
    {"第一步：插入USB读卡器\r\n",
     "Step 1: Insert the USB card reader\r\n"},
    {"第二步：根据需要选择配置选项\r\n",
     "Step 2: According to need choose configuration options\r\n"},
    {"第三步：点击“设置设备”按钮进行配置读卡器\r\n\r\n",
     "Step 3: Click “Set Device” button to configure card reader\r\n\r\n"},
    {"注意：\r\r1、点击“默认设置”按钮软件会恢复默认配置，但不会配置到读卡器设备！\r\n",
     "Note: \r\n, 1、Click on the “Default Setting” button the software will restore the default configuration, but not the configuration to a card reader device!\r\n"},
    {"\r2、点击“读取设备”按钮会自动把设备配置读取到软件配置界面，然后把读取的配置配置到读卡器设备！\r\n",
     "\r2、Click on the “Read Device” button will automatically read into the equipment configuration software configuration interface, but not the configuration to a card reader device!\r\n"},
    {"\r3、点击“开始批量设置”按钮软件开始执行批量设置程序，并同时把软件当前配置界面下载到读卡器，下载成功后等待下一次读卡器连接；\r\n",
     "\r3、Click on “Start batch set” button in the software start to perform batch setup, and at the same time the software downloaded to the reader, the current configuration interface to download after a successful waiting for the next card reader connected;\r\n"},
    {"\r4、在批量设置过程中无法再使用配置界面，如需更改配置信息，点击“停止批量设置”按钮后进行修改。\r\n",
     "\r4、In the process of batch Settings can no longer use configuration interface, such as the need to change the configuration information, click the “Stop batch set” button after modified.\r\n"},
    {"\r5、ID卡起始符和结束符及中间分隔符最多可以输入9位，不支持汉字及汉字字符，否则无效甚至出现未知错误！\r\n",
     "\r5、ID CARD Start separator and end separator and middle separator can enter most nine, does not support Chinese characters and Chinese characters, otherwise no appear even unknown error!\r\n"},
    {"\r6、磁卡起始符和结束符最多可以输入9位，不支持汉字及汉字字符，否则无效甚至出现未知错误！\r\n",
     "\r6、MAGCARD CARD Start separator and end separator can enter most nine, does not support Chinese characters and Chinese characters, otherwise no appear even unknown error!\r\n"},
    {"\r7、热键捕捉无法捕捉PAGE_UP、PAGE_DOWN、END！\r\n",
     "\r7、Hotkey capture not capture PAGE_UP, PAGE_DOWN, END!\r\n"},
}};

inline constexpr TextPair SOFTWARE_INFO_CAPTION = MENU_SOFTWARE_INFO;
inline constexpr std::array<TextPair, 7> SOFTWARE_INFO = {{
    {"\t\tUSB读卡器配置软件\r\n\r\n",
     "\t\tUSB card reader configuration software\r\n\r\n"},
    {"本软件是USB读卡器设置及USB键盘键码设置软件，",
     "This software is a USB card reader Settings and USB keyboard key code setting software，"},
    {"\r\n",
     "\r\n"},
    {"详细软件介绍参考菜单栏“关于软件->软件操作说明”。",
     "Software is introduced in detail refer to the menu bar “About the software - > Software instructions”."},
    {"\r\n",
     "\r\n"},
    {"\r\n",
     "\r\n"},
    {"\r\n软件版本：V" READER_CONFIG_VERSION_SHORT,
     "\r\nSoftware version: V" READER_CONFIG_VERSION_SHORT},
}};

inline constexpr TextPair UPDATE_CAPTION{"更新提示", "Update prompt"};
inline constexpr TextPair UPDATE_QUESTION{"本版本为V" READER_CONFIG_VERSION_SHORT "，下载最新版本！",
                                          "This version is V" READER_CONFIG_VERSION_SHORT ",Download the latest version!"};

// The tip text of the keyboard settings view. The two languages break their
// text into different pieces; each form is its pieces joined in order.
inline constexpr TextPair KEYBOARD_TIPS{
    "\n"
    "1、\n更改键码只需要把光标定位在相应的按键，然后根据需要配置各个按键的键码（支持全键盘84键）！\r\n\r\n\r\n"
    "2、\n按下“配置键盘”按钮后可把当前键码配置到设备上;\n\n"
    "按下“恢复默认”按钮后恢复默认键码;\n\n"
    "按下“读取配置”按钮后读取设备键码并显示到相应位置;\n\n"
    "按下“开始批量设置”按钮后进行批量配置键盘。\r\n\r\n\r\n"
    "3、\n"
    "“自动键盘配置”复选框勾上后，在普通设置界面设置设备的同时也把当前键码数据一起配置！\n\n"
    "\r\n",

    "1.\nChange the key code you just need to put the cursor in the corresponding key,"
    "and then according to the need to configure the key of a key code (the entire 84 - key keyboard)!\r\n\r\n"
    "2.\n“Keyboard configuration” button to the current key code configuration to the device;\n"
    "After the “restore default” button to restore the default key code;\n"
    "“Reading configuration” button after reading equipment key code and display to the corresponding position;\n"
    "Press the “start bulk Settings” button for the batch configuration after the keyboard.\r\n\r\n"
    "3.\n"
    "After the “automatic keyboard configuration” check box ticked, set in the general Settings interface equipment"
    "as well as the current key code data configuration together!\n\n"
    "\r\n"};

// clang-format on

// Where Yes in the update question leads, in both languages: the project's
// release downloads.
inline constexpr const char* DOWNLOAD_URL =
    "https://github.com/reader-config/reader-config/releases";

}  // namespace texts
