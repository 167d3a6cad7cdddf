// Line breaks between the dialog and text widgets, and screen-reader names.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "toolkit/AccessibleNames.h"
#include "toolkit/LineBreaks.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace {

using namespace ids;

TEST(LineBreaksTest, EveryBreakBecomesOneLfAndComesBackAsCrLf) {
    const struct {
        const char* dialog;
        const char* widget;
        const char* back;
    } cases[] = {
        {"a\r\nb\r\n", "a\nb\n", "a\r\nb\r\n"},
        {"a\nb", "a\nb", "a\r\nb"},
        {"a\rb", "a\nb", "a\r\nb"},
        {"\r\n\r\n", "\n\n", "\r\n\r\n"},
        {"\r\r\n", "\n\n", "\r\n\r\n"},
        {"", "", ""},
        {"磁道\r\n", "磁道\n", "磁道\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tk::ToLf(c.dialog), c.widget) << c.dialog;
        EXPECT_EQ(tk::ToCrLf(tk::ToLf(c.dialog)), c.back) << c.dialog;
    }
}

TEST(AccessibleNamesTest, AssignedThenFixedThenLabelsThenCaption) {
    tk::ControlSpec s;
    s.kind = tk::ControlKind::PushButton;
    auto captions = [](int id) {
        return id == 1 ? std::string(" 磁道1： ") : std::string("起始符");
    };
    EXPECT_EQ(tk::AccessibleNameOf(s, "  设置设备\t\t", "", captions), "设置设备");
    s.nameFrom = {1, 2};
    EXPECT_EQ(tk::AccessibleNameOf(s, "ignored", "", captions), "磁道1： 起始符");
    s.accessibleName = "输出窗口";
    EXPECT_EQ(tk::AccessibleNameOf(s, "ignored", "", captions), "输出窗口");
    EXPECT_EQ(tk::AccessibleNameOf(s, "ignored", "Output pane", captions), "Output pane");
}

TEST(AccessibleNamesTest, CaptionlessControlsOfTheDialogAreNamed) {
    tk::HeadlessSurface ui(app::MainDialogSpec());
    const struct {
        int id;
        const char* name;
    } cases[] = {
        {IDC_T1_START, "磁道1： 起始符"},
        {IDC_T1_END, "磁道1： 结束符"},
        {IDC_T2_START, "磁道2： 起始符"},
        {IDC_T3_END, "磁道3： 结束符"},
        {IDC_MIDDLE_SEP_TEXT, "中间分隔符："},
        {IDC_START_SEP_TEXT, "起始符："},
        {IDC_END_SEP_TEXT, "结束符："},
        {KeyFieldId(1), "KEY1"},
        {KeyFieldId(20), "KEY20"},
        {IDC_OUTPUT, "输出窗口"},
        {IDC_STATUS, "状态栏"},
        {IDC_TIP_TEXT, "提示"},
        {IDC_COMPUTER_SLOW, "电脑反应慢"},
        {IDC_SENTINEL_GROUP, "磁道起始符和结束符"},
    };
    for (const auto& c : cases) EXPECT_EQ(ui.AccessibleName(c.id), c.name) << c.id;
    for (const tk::ControlSpec& s : app::MainDialogSpec().controls)
        EXPECT_FALSE(ui.AccessibleName(s.id).empty()) << s.id;
}

TEST(AccessibleNamesTest, NamesFollowTheCaptionsTheyComeFrom) {
    tk::HeadlessSurface ui(app::MainDialogSpec());
    ui.SetText(IDC_SENTINEL_TRK2_HEAD, "TRK2:");
    ui.SetText(IDC_SENTINEL_END_HEAD, "End");
    ui.SetText(IDC_MIDDLE_SEP, "Middle separator:");
    EXPECT_EQ(ui.AccessibleName(IDC_T2_END), "TRK2: End");
    EXPECT_EQ(ui.AccessibleName(IDC_MIDDLE_SEP_TEXT), "Middle separator:");
    // The status line's text is its content: it is read, and the fixed name
    // says what it is.
    ui.SetText(IDC_STATUS, "2026年12月07日 09:05:07  星期一");
    EXPECT_EQ(ui.AccessibleName(IDC_STATUS), "2026年12月07日 09:05:07  星期一");
    EXPECT_EQ(ui.AccessibleDescription(IDC_STATUS), "状态栏");
    ui.SetAccessibleName(IDC_OUTPUT, "Output pane");
    EXPECT_EQ(ui.AccessibleName(IDC_OUTPUT), "Output pane");
    ui.SetAccessibleName(IDC_OUTPUT, "");
    EXPECT_EQ(ui.AccessibleName(IDC_OUTPUT), "输出窗口");
}

TEST(MenuTemplateTest, DialogStartsWithTheChineseMenuBar) {
    tk::HeadlessSurface ui(app::MainDialogSpec());
    const tk::MenuBar bar = ui.CurrentMenuBar();
    ASSERT_EQ(bar.items.size(), 3u);
    EXPECT_EQ(bar.items[0].text, "关于软件 ");
    ASSERT_EQ(bar.items[0].popup.size(), 3u);
    EXPECT_EQ(bar.items[0].popup[0].commandId, ID_INSTRUCTIONS);
    EXPECT_EQ(bar.items[0].popup[2].text, "软件更新");
    EXPECT_EQ(bar.items[1].commandId, ID_TOGGLE_VIEW);
    EXPECT_EQ(bar.items[1].text, "切换到键盘设置界面");
    EXPECT_EQ(bar.items[2].commandId, ID_EXIT);
    EXPECT_EQ(bar.items[2].text, "退出 ");
    EXPECT_TRUE(ui.ChooseMenu(ID_EXIT));
}

}  // namespace
