#pragma once
// Texts of the reader settings: Set Device, Read Device and Default Setting.

#include <array>

#include "app/TextPair.h"

namespace reader_texts {

inline constexpr TextPair DEFAULTS_RESTORED{"恢复默认设置成功！",
                                            "Restore the default Settings success!"};

inline constexpr TextPair CONFIG_SUCCESS{"配置设备成功！", "Configuration of success!"};
// The batch line: head, the count as five digits, tail.
inline constexpr TextPair BATCH_HEAD{"批量设置第  ", "Batch set first  "};
inline constexpr TextPair BATCH_TAIL{"  台成功！", "  successful!"};
inline constexpr TextPair KEYBOARD_CONFIG_SUCCESS{"键盘配置成功！",
                                                  "Keyboard configuration success!"};
inline constexpr TextPair KEYBOARD_CONFIG_FAILURE{"键盘配置失败！",
                                                  "Keyboard configuration failure!"};
inline constexpr TextPair DATA_SEND_FAILED{"数据发送失败！", "Data sent failed!"};

inline constexpr TextPair COMPUTER_SLOW_CAPTION{"电脑反应慢提示", "Computer slow"};
inline constexpr TextPair SET_COMPUTER_SLOW{
    "配置设备失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项",
    "Config device, failure may be the machine's slow, so has smart for you to hang up to the "
    "computer slow response options"};
inline constexpr TextPair READ_COMPUTER_SLOW{
    "读取设备数据失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项",
    "Read the device data, failure may be the machine's slow, so has smart for you to hang up to "
    "the computer slow response options"};

// Message box for a ticked ID-card symbol with an empty edit, for the middle
// separator, the start string and the end string.
inline constexpr TextPair EMPTY_SYMBOL_CAPTION{"错误提示", "Error message"};
inline constexpr std::array<TextPair, 3> EMPTY_SYMBOL_TEXT = {{
    {"你发送了空命令，我默认帮你发送','号！\r\n",
     "You send the empty command, the default I help you send ','\r\n"},
    {"你发送了空命令，我默认帮你发送';'号！\r\n",
     "You send the empty command, the default I help you send ';'\r\n"},
    {"你发送了空命令，我默认帮你发送'?'号！\r\n",
     "You send the empty command, the default I help you send '?'\r\n"},
}};

inline constexpr TextPair OLD_READER{"此设备可能是老版本的，不支持多字符！",
                                     "The device may be the old version, does not support "
                                     "multiple characters !"};
// The field line of the old-reader message, by field index (slot 0 unused).
inline constexpr std::array<TextPair, 10> OLD_READER_FIELD = {{
    {"", ""},
    {"我已经把默认第一磁道起始符给您配置好了 ！",
     "I have give you to configure the default first track initiation operator !"},
    {"我已经把默认第二磁道起始符给您配置好了 ！",
     "I have give you to configure the default second track initiation operator !"},
    {"我已经把默认第三磁道起始符给您配置好了 ！",
     "I have give you to configure the default third track initiation operator !"},
    {"我已经把默认第一磁道结束符给您配置好了 ！",
     "I have give you to configure the default first track end mark !"},
    {"我已经把默认第二磁道结束符给您配置好了 ！",
     "I have give you to configure the default second track end mark !"},
    {"我已经把默认第三磁道结束符给您配置好了 ！",
     "I have give you to configure the default third track end mark !"},
    {"我已经把默认ID卡中间分隔符给您配置好了 ！",
     "I have give you to configure the default ID card middle separator !"},
    {"我已经把默认ID卡起始符给您配置好了 ！",
     "I have give you to configure the default ID card initiation operator !"},
    {"我已经把默认ID卡结束符给您配置好了 ！",
     "I have give you to configure the default ID card track end mark !"},
}};

inline constexpr TextPair READ_SUCCESS{"读取设备成功！", "Read Device successful!"};
inline constexpr TextPair READ_FAILED{"读取设备失败！", "Read Device fail!"};
inline constexpr TextPair NOT_CONFIGURED{
    "因为此设备没有正确配置，请重新配置！",
    "Because the equipment not properly configured, please reconfigure！"};

// The nine fields by field index (slot 0 unused), for the messages below.
inline constexpr std::array<TextPair, 10> FIELD_NAME = {{
    {"", ""},
    {"第一磁道起始符", "track 1 start sentinel"},
    {"第二磁道起始符", "track 2 start sentinel"},
    {"第三磁道起始符", "track 3 start sentinel"},
    {"第一磁道结束符", "track 1 end sentinel"},
    {"第二磁道结束符", "track 2 end sentinel"},
    {"第三磁道结束符", "track 3 end sentinel"},
    {"ID卡中间分隔符", "ID card middle separator"},
    {"ID卡起始符", "ID card start string"},
    {"ID卡结束符", "ID card end string"},
}};
// A long text the reader did not confirm (Set Device stops there) or did not
// return (Read Device loads nothing): head, field name, tail.
inline constexpr TextPair LONG_TEXT_UNCONFIRMED_HEAD{
    "读卡器没有确认", "The reader did not confirm the long text of the "};
inline constexpr TextPair LONG_TEXT_UNCONFIRMED_TAIL{"的长文本，设置没有发送！",
                                                     "; the settings were not sent!"};
inline constexpr TextPair LONG_TEXT_UNREAD_HEAD{"读卡器没有返回",
                                                "The reader did not return the long text of the "};
inline constexpr TextPair LONG_TEXT_UNREAD_TAIL{"的长文本，界面上的设置没有改变！",
                                                "; the settings on screen were left as they were!"};

// A character that cannot reach the device as it looks (refused before
// anything is sent), and a system without the GBK conversion.
inline constexpr TextPair REFUSED_CAPTION{"错误提示", "Error message"};
inline constexpr TextPair GBK_UNAVAILABLE{
    "本系统不能把文字转换为GBK编码，没有发送任何数据！",
    "This system cannot convert text to GBK (code page 936); nothing was sent!"};

}  // namespace reader_texts
