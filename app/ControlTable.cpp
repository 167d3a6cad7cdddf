#include "app/ControlTable.h"

#include <stdexcept>
#include <string>

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/device/DeviceTexts.h"

namespace app {
namespace {

using tk::ControlKind;
using tk::ControlSpec;
using tk::DlgRect;

constexpr tk::Rgb RED{255, 0, 0};
constexpr tk::Rgb BLUE{0, 0, 255};
constexpr tk::Rgb STATUS_BLUE{0, 50, 255};
constexpr tk::Rgb WHITE{255, 255, 255};

ControlSpec& Find(tk::DialogSpec& d, int id) {
    for (ControlSpec& s : d.controls)
        if (s.id == id) return s;
    throw std::logic_error("control table lacks " + std::to_string(id));
}

// The dialog's colour hook: red captions of the controls a user must notice,
// blue for the tip box and the status line.
void ApplyColours(tk::DialogSpec& d) {
    using namespace ids;
    for (int id :
         {IDC_COMPUTER_SLOW, IDC_LANGUAGE_GROUP, IDC_CHINESE, IDC_ENGLISH, IDC_KEYPAD_GROUP})
        Find(d, id).textColour = RED;
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) Find(d, KeyGroupId(n)).textColour = RED;
    Find(d, IDC_TIP_GROUP).textColour = BLUE;
    Find(d, IDC_TIP_TEXT).textColour = BLUE;
    Find(d, IDC_TIP_TEXT).backgroundColour = WHITE;
    Find(d, IDC_STATUS).textColour = STATUS_BLUE;
    Find(d, IDC_DEVICE_LABEL).textColour = STATUS_BLUE;
}

// Screen readers name a control without a caption after its label or group.
void NameCaptionlessControls(tk::DialogSpec& d) {
    using namespace ids;
    const int rowHeads[] = {IDC_SENTINEL_TRK1_HEAD, IDC_SENTINEL_TRK2_HEAD, IDC_SENTINEL_TRK3_HEAD};
    for (int t = 0; t < 3; ++t) {
        Find(d, SENTINEL_EDITS[2 * t]).nameFrom = {rowHeads[t], IDC_SENTINEL_START_HEAD};
        Find(d, SENTINEL_EDITS[2 * t + 1]).nameFrom = {rowHeads[t], IDC_SENTINEL_END_HEAD};
    }
    Find(d, IDC_MIDDLE_SEP_TEXT).nameFrom = {IDC_MIDDLE_SEP};
    Find(d, IDC_START_SEP_TEXT).nameFrom = {IDC_START_SEP};
    Find(d, IDC_END_SEP_TEXT).nameFrom = {IDC_END_SEP};
    Find(d, IDC_SENTINEL_GROUP).nameFrom = {IDC_SENTINELS};
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) Find(d, KeyFieldId(n)).nameFrom = {KeyGroupId(n)};
    Find(d, IDC_TIP_TEXT).nameFrom = {IDC_TIP_GROUP};
    // The tool starts in Chinese.
    Find(d, IDC_OUTPUT).accessibleName = texts::OUTPUT_PANE_NAME.zh;
    Find(d, IDC_STATUS).accessibleName = texts::STATUS_LINE_NAME.zh;
    Find(d, IDC_DEVICE_LABEL).accessibleName = devicetexts::DEVICE_LINE_NAME.zh;
}

ControlSpec C(int id, ControlKind kind, const char* caption, DlgRect r, int group = 0) {
    ControlSpec s;
    s.id = id;
    s.kind = kind;
    s.caption = caption;
    s.rect = r;
    s.radioGroup = group;
    return s;
}

tk::DialogSpec Build() {
    using namespace ids;
    tk::DialogSpec d;
    d.title = "USB读卡器设置";
    d.language = "zh-CN";
    d.size = {0, 0, 703, 390};
    auto& c = d.controls;
    const auto B = ControlKind::PushButton;
    const auto X = ControlKind::CheckBox;
    const auto R = ControlKind::RadioButton;
    const auto G = ControlKind::GroupBox;
    const auto S = ControlKind::StaticText;
    const auto E = ControlKind::Edit;

    // Top row and the right-hand column, shared by both views.
    c.push_back(C(IDC_COMPUTER_SLOW, X, "电脑反应慢    ", {7, 0, 64, 14}));
    c.push_back(C(IDC_SHIELD_KEYS, X, "屏蔽键盘控制键", {111, 1, 93, 13}));
    ControlSpec status = C(IDC_STATUS, S, "", {502, 7, 134, 14});
    status.centred = true;
    c.push_back(status);
    // In the top row's free room, shown while several readers are attached.
    ControlSpec device = C(IDC_DEVICE_LABEL, S, "", {210, 3, 288, 11});
    device.shown = false;
    c.push_back(device);
    c.push_back(C(IDC_CLEAR, B, "清空", {637, 5, 59, 17}));
    c.push_back(C(IDC_OUTPUT, ControlKind::MultiLineEdit, "", {502, 29, 194, 354}));
    c.push_back(C(IDC_LANGUAGE_GROUP, G, "语言选择（Language）", {349, 345, 147, 32}));
    c.push_back(C(IDC_CHINESE, R, "中文(Chinese)", {356, 358, 66, 12}, LANGUAGE_RADIO_GROUP));
    c.push_back(C(IDC_ENGLISH, R, "English(英文)", {426, 358, 66, 12}, LANGUAGE_RADIO_GROUP));

    // ID card area.
    c.push_back(C(IDC_ID_AREA, G, "ID卡设置区域", {7, 15, 491, 180}));
    c.push_back(C(IDC_DECIMAL_GROUP, G, "10进制输出", {13, 26, 314, 127}));
    const char* decimal[] = {"10位10进制（ID后4字节转换）", "10位10进制反向输出（ID后4字节转换）",
                             "8位10进制（ID后3字节转换）",  "00+8位10进制（ID后3字节转换）",
                             "8位10进制（ID后4字节转换）",  "8位10进制（卡上后8位）",
                             "5位10进制（卡上后5位）",      "13位10进制（ID后5字节转10进制）",
                             "18位10进制（卡上全部数字）"};
    for (int i = 0; i < 9; ++i)
        c.push_back(
            C(IDC_FORMAT_FIRST + i, R, decimal[i], {20, 38 + 12 * i, 300, 11}, FORMAT_RADIO_GROUP));
    c.push_back(C(IDC_HEX_GROUP, G, "16进制输出", {13, 157, 479, 34}));
    c.push_back(C(1037, R, "8位16进制", {20, 171, 80, 12}, FORMAT_RADIO_GROUP));
    c.push_back(C(1038, R, "8位16进制反向输出", {104, 171, 122, 12}, FORMAT_RADIO_GROUP));
    c.push_back(C(1039, R, "10位16进制（5字节16进制）", {230, 171, 160, 12}, FORMAT_RADIO_GROUP));
    c.push_back(C(1040, R, "2H4D + 2H4D", {394, 171, 90, 12}, FORMAT_RADIO_GROUP));
    c.push_back(C(IDC_SYMBOL_GROUP, G, "ID卡添加符号", {330, 26, 164, 126}));
    c.push_back(C(IDC_MIDDLE_SEP, X, "中间分隔符：", {337, 42, 92, 12}));
    c.push_back(C(IDC_MIDDLE_SEP_TEXT, E, "", {432, 40, 56, 14}));
    c.push_back(C(IDC_START_SEP, X, "起始符：", {337, 66, 92, 12}));
    c.push_back(C(IDC_START_SEP_TEXT, E, "", {432, 64, 56, 14}));
    c.push_back(C(IDC_END_SEP, X, "结束符：", {337, 90, 92, 12}));
    c.push_back(C(IDC_END_SEP_TEXT, E, "", {432, 88, 56, 14}));
    c.push_back(C(IDC_ENTER_AFTER, X, "数据后面加回车", {337, 118, 152, 12}));

    // Magnetic card area.
    c.push_back(C(IDC_MAG_AREA, G, "磁卡设置区域", {7, 206, 491, 130}));
    c.push_back(C(IDC_TRACK_GROUP, G, "输出轨道", {13, 217, 157, 113}));
    c.push_back(C(IDC_TRACK1, X, "输出一轨道数据", {20, 234, 145, 12}));
    c.push_back(C(IDC_TRACK2, X, "输出二轨道数据", {20, 256, 145, 12}));
    c.push_back(C(IDC_TRACK3, X, "输出三轨道数据", {20, 278, 145, 12}));
    c.push_back(C(IDC_CR_GROUP, G, "输出轨道回车CR标志", {173, 216, 179, 113}));
    c.push_back(C(IDC_CR_TRACK1, X, "一轨数据结束时带回车（CR）", {179, 230, 170, 12}));
    c.push_back(C(IDC_CR_TRACK2, X, "二轨数据结束时带回车（CR）", {179, 249, 170, 12}));
    c.push_back(C(IDC_CR_TRACK3, X, "三轨数据结束时带回车（CR）", {179, 268, 170, 12}));
    c.push_back(C(IDC_CR_PACKET, X, "整包数据结束时带回车（CR）", {179, 287, 170, 12}));
    c.push_back(C(IDC_FILTER_EQUALS, X, "'='号及后字符过滤", {179, 308, 170, 12}));
    c.push_back(C(IDC_SENTINEL_GROUP, G, "", {355, 216, 139, 113}));
    c.push_back(C(IDC_SENTINELS, X, "磁道起始符和结束符", {362, 228, 128, 12}));
    c.push_back(C(IDC_SENTINEL_START_HEAD, S, "起始符", {400, 248, 42, 10}));
    c.push_back(C(IDC_SENTINEL_END_HEAD, S, "结束符", {446, 248, 42, 10}));
    const char* rows[] = {"磁道1：", "磁道2：", "磁道3："};
    for (int t = 0; t < 3; ++t) {
        const int y = 262 + 22 * t;
        c.push_back(C(IDC_SENTINEL_TRK1_HEAD + t, S, rows[t], {362, y + 2, 36, 10}));
        c.push_back(C(SENTINEL_EDITS[2 * t], E, "", {400, y, 42, 14}));
        c.push_back(C(SENTINEL_EDITS[2 * t + 1], E, "", {446, y, 42, 14}));
    }

    // Bottom row: the general view's four buttons and the keyboard view's.
    c.push_back(C(IDC_SET_DEVICE, B, "设置设备", {23, 348, 69, 35}));
    c.push_back(C(IDC_DEFAULT_SETTING, B, "默认设置", {109, 348, 69, 35}));
    c.push_back(C(IDC_READ_DEVICE, B, "读取设备", {195, 348, 69, 35}));
    c.push_back(C(IDC_BATCH, B, "开始批量设置", {277, 348, 69, 35}));
    c.push_back(C(IDC_CONFIG_KEY, B, "配置键盘", {23, 348, 69, 35}));
    c.push_back(C(IDC_DEFAULT_KEYS, B, "恢复默认", {109, 348, 69, 35}));
    c.push_back(C(IDC_READ_CONFIG, B, "读取配置", {195, 348, 69, 35}));
    c.push_back(C(IDC_KEYPAD_BATCH, B, "开始批量设置", {278, 348, 69, 35}));

    // Keyboard settings view: keypad grid and tip box, over the general areas.
    c.push_back(C(IDC_AUTO_KEYBOARD, X, "自动键盘配置", {86, 21, 140, 16}));
    c.push_back(C(IDC_KEYPAD_GROUP, G, "键盘", {87, 37, 291, 285}));
    const int colX[] = {111, 174, 236, 298};
    const int rowY[] = {51, 106, 162, 217, 273};
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) {
        const int x = colX[(n - 1) % 4], y = rowY[(n - 1) / 4];
        c.push_back(C(KeyGroupId(n), G, ("KEY" + std::to_string(n)).c_str(), {x, y, 55, 45}));
        c.push_back(C(KeyFieldId(n), E, "", {x + 6, y + 18, 44, 19}));
    }
    c.push_back(C(IDC_TIP_GROUP, G, "提示", {382, 30, 114, 305}));
    c.push_back(C(IDC_TIP_TEXT, S, "", {384, 40, 110, 291}));
    // Menu bar 133 as the template has it: the Chinese bar of the general view.
    tk::MenuItem about{0,
                       "关于软件 ",
                       true,
                       {{ID_INSTRUCTIONS, "软件操作说明", true, {}},
                        {ID_SOFTWARE_INFO, "软件信息", true, {}},
                        {ID_UPDATE, "软件更新", true, {}}}};
    d.menu.items = {
        about, {ID_TOGGLE_VIEW, "切换到键盘设置界面", true, {}}, {ID_EXIT, "退出 ", true, {}}};

    ApplyColours(d);
    NameCaptionlessControls(d);
    return d;
}

}  // namespace

const tk::DialogSpec& MainDialogSpec() {
    static const tk::DialogSpec def = Build();
    return def;
}

}  // namespace app
