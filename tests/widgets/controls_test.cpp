// The Qt toolkit builds every control of the main dialog a user can reach,
// with its id, kind and caption, and shows the general view at start-up.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/ViewSets.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;
using tk::ControlKind;

struct Expected {
    int id;
    ControlKind kind;
    std::string caption;
};

constexpr auto B = ControlKind::PushButton;
constexpr auto X = ControlKind::CheckBox;
constexpr auto R = ControlKind::RadioButton;
constexpr auto G = ControlKind::GroupBox;
constexpr auto S = ControlKind::StaticText;
constexpr auto E = ControlKind::Edit;

// The controls a user can see or reach, as the dialog's documentation lists
// them (the key fields and their group boxes are added in a loop).
const std::vector<Expected>& ReachableControls() {
    static const std::vector<Expected> list = [] {
        std::vector<Expected> v = {
            {1000, ControlKind::MultiLineEdit, ""},
            {1057, G, "磁卡设置区域"},
            {1006, G, "输出轨道"},
            {1008, X, "输出一轨道数据"},
            {1015, X, "输出二轨道数据"},
            {1018, X, "输出三轨道数据"},
            {1007, G, "输出轨道回车CR标志"},
            {1020, X, "一轨数据结束时带回车（CR）"},
            {1021, X, "二轨数据结束时带回车（CR）"},
            {1022, X, "三轨数据结束时带回车（CR）"},
            {1023, X, "整包数据结束时带回车（CR）"},
            {1047, X, "'='号及后字符过滤"},
            {1005, G, ""},
            {1048, X, "磁道起始符和结束符"},
            {1063, S, "起始符"},
            {1064, S, "结束符"},
            {1065, S, "磁道1："},
            {1066, S, "磁道2："},
            {1067, S, "磁道3："},
            {1009, E, ""},
            {1010, E, ""},
            {1011, E, ""},
            {1012, E, ""},
            {1013, E, ""},
            {1014, E, ""},
            {1050, G, "ID卡设置区域"},
            {1055, G, "10进制输出"},
            {1056, G, "16进制输出"},
            {1028, R, "10位10进制（ID后4字节转换）"},
            {1029, R, "10位10进制反向输出（ID后4字节转换）"},
            {1030, R, "8位10进制（ID后3字节转换）"},
            {1031, R, "00+8位10进制（ID后3字节转换）"},
            {1032, R, "8位10进制（ID后4字节转换）"},
            {1033, R, "8位10进制（卡上后8位）"},
            {1034, R, "5位10进制（卡上后5位）"},
            {1035, R, "13位10进制（ID后5字节转10进制）"},
            {1036, R, "18位10进制（卡上全部数字）"},
            {1037, R, "8位16进制"},
            {1038, R, "8位16进制反向输出"},
            {1039, R, "10位16进制（5字节16进制）"},
            {1040, R, "2H4D + 2H4D"},
            {1071, G, "ID卡添加符号"},
            {1042, X, "中间分隔符："},
            {1043, X, "起始符："},
            {1044, X, "结束符："},
            {1052, E, ""},
            {1053, E, ""},
            {1054, E, ""},
            {1045, X, "数据后面加回车"},
            {1024, B, "设置设备"},
            {1025, B, "默认设置"},
            {1026, B, "读取设备"},
            {1027, B, "开始批量设置"},
            {1017, B, "清空"},
            {1131, X, "电脑反应慢    "},
            {1068, G, "语言选择（Language）"},
            {1069, R, "中文(Chinese)"},
            {1070, R, "English(英文)"},
            {1140, X, "屏蔽键盘控制键"},
            {1080, G, "键盘"},
            {1078, B, "配置键盘"},
            {1121, B, "恢复默认"},
            {1122, B, "读取配置"},
            {1079, B, "开始批量设置"},
            {1051, X, "自动键盘配置"},
            {1137, G, "提示"},
            {1139, S, ""},
            {1142, S, ""},
        };
        const int edits[] = {1081, 1082, 1085, 1087, 1089, 1091, 1093, 1095, 1097, 1099,
                             1101, 1103, 1105, 1107, 1109, 1111, 1113, 1115, 1117, 1119};
        const int groups[] = {1083, 1084, 1086, 1088, 1090, 1092, 1094, 1096, 1098, 1100,
                              1102, 1104, 1106, 1108, 1110, 1112, 1114, 1116, 1118, 1120};
        for (int n = 0; n < 20; ++n) {
            v.push_back({edits[n], E, ""});
            v.push_back({groups[n], G, "KEY" + std::to_string(n + 1)});
        }
        return v;
    }();
    return list;
}

bool HasKind(QWidget* w, ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return qobject_cast<QPushButton*>(w) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<QCheckBox*>(w) != nullptr;
        case ControlKind::RadioButton:
            return qobject_cast<QRadioButton*>(w) != nullptr;
        case ControlKind::GroupBox:
            return qobject_cast<QGroupBox*>(w) != nullptr;
        case ControlKind::StaticText:
            return qobject_cast<QLabel*>(w) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<QLineEdit*>(w) != nullptr;
        case ControlKind::MultiLineEdit:
            return qobject_cast<QTextEdit*>(w) != nullptr;
    }
    return false;
}

QString ShownCaption(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return {};
}

class ControlsTest : public ::testing::Test {
  protected:
    ControlsTest() { widgettest::App(); }
};

TEST_F(ControlsTest, EveryReachableControlExistsWithItsIdKindAndCaption) {
    tk::QtSurface ui(app::MainDialogSpec());
    QWidget* client = ui.Widget(IDC_OUTPUT)->parentWidget();
    for (const Expected& e : ReachableControls()) {
        SCOPED_TRACE(e.id);
        auto* w = ui.Dialog()->findChild<QWidget*>(QStringLiteral("ctl_%1").arg(e.id));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->property("controlId").toInt(), e.id);
        EXPECT_TRUE(HasKind(w, e.kind));
        EXPECT_EQ(ShownCaption(w), QString::fromStdString(e.caption));
        EXPECT_EQ(ui.GetText(e.id), e.caption);
        EXPECT_TRUE(ui.IsVisible(e.id));
        EXPECT_TRUE(ui.IsEnabled(e.id));
        EXPECT_FALSE(w->geometry().isEmpty());
        EXPECT_TRUE(client->rect().contains(w->geometry()));
    }
}

TEST_F(ControlsTest, RadioGroupsExcludeWithinThemselvesOnly) {
    tk::QtSurface ui(app::MainDialogSpec());
    ui.SetChecked(IDC_FORMAT_FIRST, true);
    ui.SetChecked(IDC_CHINESE, true);
    ui.SetChecked(1040, true);
    EXPECT_FALSE(ui.IsChecked(IDC_FORMAT_FIRST));
    EXPECT_TRUE(ui.IsChecked(1040));
    EXPECT_TRUE(ui.IsChecked(IDC_CHINESE));
    // The dialog may clear a group completely.
    ui.SetChecked(1040, false);
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) EXPECT_FALSE(ui.IsChecked(id));
    EXPECT_TRUE(ui.IsChecked(IDC_CHINESE));
}

TEST_F(ControlsTest, ColourTableGivesTheHighlightedControlsTheirColours) {
    tk::QtSurface ui(app::MainDialogSpec());
    const QColor red(255, 0, 0), blue(0, 0, 255), statusBlue(0, 50, 255);
    const struct {
        int id;
        QColor colour;
    } cases[] = {
        {IDC_COMPUTER_SLOW, red}, {IDC_LANGUAGE_GROUP, red}, {IDC_CHINESE, red},
        {IDC_ENGLISH, red},       {IDC_KEYPAD_GROUP, red},   {KeyGroupId(1), red},
        {KeyGroupId(20), red},    {IDC_TIP_GROUP, blue},     {IDC_TIP_TEXT, blue},
        {IDC_STATUS, statusBlue},
    };
    for (const auto& c : cases) {
        const QPalette p = ui.Widget(c.id)->palette();
        EXPECT_EQ(p.color(QPalette::Active, QPalette::WindowText), c.colour) << c.id;
        EXPECT_EQ(p.color(QPalette::Active, QPalette::Text), c.colour) << c.id;
    }
    QWidget* tip = ui.Widget(IDC_TIP_TEXT);
    EXPECT_TRUE(tip->autoFillBackground());
    EXPECT_EQ(tip->palette().color(QPalette::Window), QColor(Qt::white));
    // Hollow: nothing paints behind the coloured captions.
    EXPECT_FALSE(ui.Widget(IDC_COMPUTER_SLOW)->autoFillBackground());
    // Controls outside the table keep the default colours.
    EXPECT_EQ(ui.Widget(IDC_SET_DEVICE)->palette().color(QPalette::Active, QPalette::ButtonText),
              ui.Dialog()->palette().color(QPalette::Active, QPalette::ButtonText));
}

QString ScreenReaderName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

TEST_F(ControlsTest, ScreenReadersHearTheSameNamesAsTheHeadlessToolkitGives) {
    tk::QtSurface ui(app::MainDialogSpec());
    tk::HeadlessSurface headless(app::MainDialogSpec());
    for (const tk::ControlSpec& s : app::MainDialogSpec().controls) {
        const QString name = ScreenReaderName(ui.Widget(s.id));
        EXPECT_FALSE(name.isEmpty()) << s.id;
        EXPECT_EQ(name.toStdString(), headless.AccessibleName(s.id)) << s.id;
    }
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_T1_START)), QStringLiteral("磁道1： 起始符"));
    EXPECT_EQ(ScreenReaderName(ui.Widget(KeyFieldId(7))), QStringLiteral("KEY7"));
}

TEST_F(ControlsTest, NamesFollowCaptionChangesAndAssignedNames) {
    tk::QtSurface ui(app::MainDialogSpec());
    ui.SetText(IDC_SENTINEL_TRK3_HEAD, "TRK3:");
    ui.SetText(IDC_SENTINEL_START_HEAD, "Start");
    ui.SetText(IDC_END_SEP, "End separator:");
    ui.SetText(IDC_SET_DEVICE, "Set Device");
    ui.SetAccessibleName(IDC_OUTPUT, "Output pane");
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_T3_START)), QStringLiteral("TRK3: Start"));
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_END_SEP_TEXT)), QStringLiteral("End separator:"));
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_SET_DEVICE)), QStringLiteral("Set Device"));
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_OUTPUT)), QStringLiteral("Output pane"));
    // The status line's text is its content: the clock is read.
    ui.SetText(IDC_STATUS, "2026年12月07日 09:05:07  星期一");
    EXPECT_EQ(ScreenReaderName(ui.Widget(IDC_STATUS)),
              QStringLiteral("2026年12月07日 09:05:07  星期一"));
    EXPECT_EQ(ui.Widget(IDC_STATUS)->accessibleDescription(), QStringLiteral("状态栏"));
}

TEST_F(ControlsTest, CaptionsShowAsWrittenButTabsAndAmpersandsDoNotGetInTheWay) {
    tk::QtSurface ui(app::MainDialogSpec());
    ui.SetText(IDC_SHIELD_KEYS, "屏蔽键盘控制键\t\t");
    ui.SetText(IDC_CLEAR, "A&B");
    EXPECT_EQ(ui.GetText(IDC_SHIELD_KEYS), "屏蔽键盘控制键\t\t");
    EXPECT_EQ(static_cast<QAbstractButton*>(ui.Widget(IDC_SHIELD_KEYS))->text(),
              QStringLiteral("屏蔽键盘控制键    "));
    EXPECT_EQ(static_cast<QAbstractButton*>(ui.Widget(IDC_CLEAR))->text(), QStringLiteral("A&&B"));
    tk::MenuBar bar;
    bar.items.push_back({ID_TOGGLE_VIEW, "\tSwitch to keyboard Settings\t", true, {}});
    ui.SetMenuBar(bar);
    EXPECT_EQ(ui.MenuBarWidget()->actions().at(0)->text(),
              QStringLiteral("  Switch to keyboard Settings  "));
}

}  // namespace
