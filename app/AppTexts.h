#pragma once
// Texts of the application shell: start-up, exit, output pane and clock.

#include <array>

#include "app/TextPair.h"

namespace texts {

inline constexpr const char* WELCOME =
    "欢迎使用USB读卡器设置软件！ \r\nWelcome use USB card reader setup software! \r\n";
// The start-up presence messages exist in Chinese only: the tool starts in Chinese.
inline constexpr const char* STARTUP_CONNECTED = "设备已连接！";
inline constexpr const char* STARTUP_NOT_CONNECTED = "未连接设备！";
inline constexpr TextPair ABOUT_ENTRY{"关于Vorn软件（About Vorn）", "About Vorn software"};
inline constexpr TextPair ESC_PRESSED{"你按下了 ESC 功能键 ！", "You pressed the ESC key !"};
inline constexpr TextPair EXIT_CAPTION{"退出提示", "Exit the prompt"};
inline constexpr TextPair EXIT_QUESTION{"你真的要退出吗？", "Do you really want to exit?"};
// Screen-reader names of the two captionless controls of the right-hand column.
inline constexpr TextPair OUTPUT_PANE_NAME{"输出窗口", "Output pane"};
inline constexpr TextPair STATUS_LINE_NAME{"状态栏", "Status line"};

inline constexpr std::array<const char*, 12> MONTHS_EN = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "Auguest",  "Septemper", "October", "November", "December"};
inline constexpr std::array<const char*, 7> WEEKDAYS_ZH = {"星期天", "星期一", "星期二", "星期三",
                                                           "星期四", "星期五", "星期六"};
inline constexpr std::array<const char*, 7> WEEKDAYS_EN = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

}  // namespace texts
