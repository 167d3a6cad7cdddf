// Start-up, output pane, clock and leaving the program.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/keypad/ViewSets.h"
#include "support/DialogFixture.h"
#include "toolkit/KeyCodes.h"

using namespace ids;

namespace {

class ShellTest : public DialogFixture {};

TEST_F(ShellTest, LogLinesCarryTheTime) {
    Start();
    ui.Click(IDC_CLEAR);
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "");
    clock.SetDateTime({2026, 12, 7, 9, 5, 7, 0});
    dlg->AppendOutput("one");
    clock.SetDateTime({2026, 12, 7, 23, 59, 59, 0});
    dlg->AppendOutput("two");
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "one 09:05:07\r\ntwo 23:59:59\r\n");
}

TEST_F(ShellTest, TypedTextStaysAndTheNextMessageFollowsIt) {
    Start();
    ui.Click(IDC_CLEAR);
    ui.ClickInto(IDC_OUTPUT);
    ui.Type("note");
    clock.SetDateTime({2026, 12, 7, 10, 0, 0, 0});
    dlg->AppendOutput("msg");
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "notemsg 10:00:00\r\n");
    EXPECT_EQ(ui.CaretOf(IDC_OUTPUT), static_cast<int>(ui.GetText(IDC_OUTPUT).size()));
}

TEST_F(ShellTest, MessageTakesFocusFromAKeyField) {
    Start();
    dlg->ShowView(0);
    ui.ClickInto(KeyFieldId(3));
    dlg->AppendOutput("x");
    EXPECT_EQ(ui.FocusedControl(), IDC_OUTPUT);
    EXPECT_EQ(g_nCurrentKey, 255);
}

TEST_F(ShellTest, ClockTexts) {
    struct Case {
        tk::LocalDateTime t;
        bool english;
        const char* text;
    } cases[] = {
        {{2026, 12, 6, 5, 31, 36, 0}, false, "2026年12月06日 05:31:36  星期天"},
        {{2026, 12, 6, 5, 31, 36, 0}, true, "  December,06,2026 05:31:36 Sunday"},
        {{2027, 1, 1, 0, 0, 5, 0}, false, "2027年01月01日 00:00:05  星期五"},
        {{2027, 1, 1, 0, 0, 5, 0}, true, "  January,01,2027 00:00:05 Friday"},
        {{2027, 8, 9, 12, 0, 0, 0}, true, "  Auguest,09,2027 12:00:00 Monday"},
        {{2027, 9, 4, 12, 0, 0, 0}, true, "  Septemper,04,2027 12:00:00 Saturday"},
    };
    Start();
    for (const Case& c : cases) {
        clock.SetDateTime(c.t);
        g_bEnglish = c.english;
        ui.FireTimer(CLOCK_TIMER);
        EXPECT_EQ(ui.GetText(IDC_STATUS), c.text);
    }
}

TEST_F(ShellTest, ExitQuestion) {
    for (auto answer : {tk::MsgBoxResult::No, tk::MsgBoxResult::Yes}) {
        DialogFixture::TearDown();
        tk::HeadlessSurface fresh(app::MainDialogSpec());
        CReaderConfigDlg d(fresh, port, port, clock);
        d.OnInitDialog();
        const std::string before = fresh.GetText(IDC_OUTPUT);
        fresh.QueueAnswer(answer);
        fresh.CloseWindow();
        ASSERT_EQ(fresh.MessageBoxes().size(), 1u);
        EXPECT_EQ(fresh.MessageBoxes()[0].caption, "退出提示");
        EXPECT_EQ(fresh.MessageBoxes()[0].text, "你真的要退出吗？");
        EXPECT_EQ(fresh.MessageBoxes()[0].buttons, tk::MsgBoxButtons::YesNo);
        EXPECT_EQ(fresh.Ended(), answer == tk::MsgBoxResult::Yes);
        EXPECT_EQ(fresh.GetText(IDC_OUTPUT), before);
    }
}

TEST_F(ShellTest, ExitMenuAsksTheSameQuestionInEnglish) {
    Start();
    g_bEnglish = 1;
    ui.QueueAnswer(tk::MsgBoxResult::Yes);
    dlg->OnCommand(ID_EXIT);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Exit the prompt");
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Do you really want to exit?");
    EXPECT_TRUE(ui.Ended());
}

TEST_F(ShellTest, EscBeforeKeyFieldsAreFilledIsLogged) {
    Start();
    const size_t mark = LineCount();
    ui.PressKey(tk::VK_ESCAPE);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_FALSE(ui.Ended());
    ASSERT_EQ(LinesSince(mark).size(), 1u);
    EXPECT_EQ(LastLine(), Stamped("你按下了 ESC 功能键 ！", clock));
}

TEST_F(ShellTest, EscAfterKeyFieldsAreFilledAsksToExit) {
    Start();
    g_bKeyFieldsFilled = 1;
    ui.PressKey(tk::VK_ESCAPE);
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
}

}  // namespace
