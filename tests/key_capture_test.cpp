// The key hook: capture into key fields (keyboard view), announcements
// (general view), and the one-character rule.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/DialogFixture.h"
#include "toolkit/KeyCodes.h"

using namespace ids;

namespace {

class KeyboardViewCapture : public DialogFixture {
  protected:
    void SetUp() override {
        Start();
        dlg->ShowView(0);
        g_bKeyboardView = 1;
    }
    const int key3 = KeyFieldId(3);
};

TEST_F(KeyboardViewCapture, NoCurrentFieldReportsTheKeyInChineseInBothLanguages) {
    for (uint8_t english : {0, 1}) {
        g_bEnglish = english;
        const size_t mark = LineCount();
        ui.PressKey(tk::VK_F5);
        ASSERT_EQ(LinesSince(mark).size(), 1u);
        EXPECT_EQ(LastLine(), Stamped("你按下了 F5 键！", clock));
    }
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) EXPECT_EQ(ui.GetText(KeyFieldId(n)), "");
}

TEST_F(KeyboardViewCapture, SpecialKeysWriteTheirNamesAndNothingElse) {
    struct Case {
        uint8_t vk;
        const char* zh;
        const char* en;
    } cases[] = {
        {tk::VK_F5, "F5", "F5"},
        {tk::VK_BACK, "清除", "CLEAR"},
        {tk::VK_DELETE, "DELETE", "DELETE"},
        {tk::VK_TAB, "TAB", "TAB"},
        {tk::VK_RETURN, "回车键", "ENTER"},
        {tk::VK_UP, "UP", "UP"},
        {tk::VK_DOWN, "DOWN", "DOWN"},
        {tk::VK_LEFT, "LEFT", "LEFT"},
        {tk::VK_RIGHT, "RIGHT", "RIGHT"},
        {tk::VK_CAPITAL, "CAPS", "CAPS"},
        {tk::VK_ESCAPE, "ESC", "ESC"},
        {tk::VK_LWIN, "WIN", "WIN"},
        {tk::VK_RWIN, "WIN", "WIN"},
        {tk::VK_SHIFT, "SHIFT", "SHIFT"},
        {tk::VK_CONTROL, "CTRL", "CTRL"},
        {tk::VK_MENU, "ALT", "ALT"},
        {tk::VK_NUMLOCK, "NUMLOCK", "NUMLOCK"},
    };
    for (uint8_t english : {0, 1}) {
        g_bEnglish = english;
        for (const Case& c : cases) {
            ASSERT_TRUE(ui.ClickInto(key3));
            const size_t lines = LineCount();
            ui.PressKey(c.vk);
            EXPECT_EQ(ui.GetText(key3), english ? c.en : c.zh) << int(c.vk);
            EXPECT_EQ(ui.FocusedControl(), key3) << int(c.vk);
            EXPECT_EQ(LineCount(), lines) << int(c.vk);
            EXPECT_TRUE(ui.MessageBoxes().empty());
            EXPECT_FALSE(ui.Ended());
        }
    }
}

TEST_F(KeyboardViewCapture, FunctionKeyWinsOverAHeldShift) {
    ui.ClickInto(key3);
    ui.HoldKey(tk::VK_SHIFT);  // writes SHIFT, then counts as acted on
    ui.PressKey(tk::VK_F5);
    ui.ReleaseKey(tk::VK_SHIFT);
    EXPECT_EQ(ui.GetText(key3), "F5");
}

TEST_F(KeyboardViewCapture, AutoRepeatDoesNotWriteAgain) {
    ui.ClickInto(key3);
    ui.HoldKey(tk::VK_F5);
    ui.SetText(key3, "x");
    // An auto-repeated press while the key is still held.
    ui.Keys().Press(tk::VK_F5, true);
    tk::KeyEvent ev;
    ev.type = tk::KeyEvent::Type::Press;
    ev.vk = tk::VK_F5;
    ev.autoRepeat = true;
    EXPECT_FALSE(dlg->PreTranslateMessage(ev));
    ui.ReleaseKey(tk::VK_F5);
    EXPECT_EQ(ui.GetText(key3), "x");
}

TEST_F(KeyboardViewCapture, CaptureAfterAMessageGoesToThePane) {
    ui.ClickInto(key3);
    ui.SetText(key3, "A");
    dlg->AppendOutput("something");
    ui.PressKey(tk::VK_F6);
    EXPECT_EQ(ui.GetText(key3), "A");
    EXPECT_EQ(LastLine(), Stamped("你按下了 F6 键！", clock));
}

TEST_F(KeyboardViewCapture, OneCharacterRuleOnceFieldsAreFilled) {
    struct Case {
        const char* before;
        int caret;
        const char* typed;
        const char* after;
    } cases[] = {
        {"7", -1, "8", "7"},  {"7", 0, "8", "8"},    {"SHIFT", -1, "1", "S"},
        {"", -1, "确", "确"}, {"确", -1, "a", "确"}, {"a", 0, "确", "确"},
    };
    g_bKeyFieldsFilled = 1;
    for (const Case& c : cases) {
        g_nLastCapturedKey = 3;  // the programmatic fill is a capture, kept whole
        ui.SetText(key3, c.before);
        ui.ClickInto(key3, c.caret);
        ui.Type(c.typed);
        EXPECT_EQ(ui.GetText(key3), c.after) << c.before << " + " << c.typed;
    }
}

TEST_F(KeyboardViewCapture, FieldsAcceptAnyLengthBeforeTheFirstFill) {
    ui.ClickInto(key3);
    ui.Type("abc");
    EXPECT_EQ(ui.GetText(key3), "abc");
}

TEST_F(KeyboardViewCapture, LongNamesAreNotCut) {
    g_bKeyFieldsFilled = 1;
    ui.ClickInto(key3);
    ui.PressKey(tk::VK_NUMLOCK);
    EXPECT_EQ(ui.GetText(key3), "NUMLOCK");
    EXPECT_EQ(g_nLastCapturedKey, 0);
}

class GeneralViewAnnouncements : public DialogFixture {
  protected:
    void SetUp() override {
        Start();
        ui.SetChecked(IDC_SHIELD_KEYS, false);
    }
};

TEST_F(GeneralViewAnnouncements, BackspaceIsAnnouncedAndStillEdits) {
    for (uint8_t english : {0, 1}) {
        g_bEnglish = english;
        ui.SetText(IDC_MIDDLE_SEP_TEXT, "ab");
        ui.ClickInto(IDC_MIDDLE_SEP_TEXT);
        const size_t mark = LineCount();
        ui.PressKey(tk::VK_BACK);
        const auto lines = LinesSince(mark);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], english ? "You pressed the BACK key !" : "你按下了 退格 功能键 ！");
        EXPECT_EQ(lines[1], Stamped("", clock));
        EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "a");
        EXPECT_EQ(ui.FocusedControl(), IDC_OUTPUT);
    }
}

TEST_F(GeneralViewAnnouncements, ShieldSilencesControlKeysButNotFunctionKeys) {
    struct Case {
        uint8_t vk;
        bool shielded;
        const char* line;  // nullptr: nothing announced
    } cases[] = {
        {tk::VK_F5, false, "You pressed the F5 key !"},
        {tk::VK_F5, true, "You pressed the F5 key !"},
        {tk::VK_TAB, false, "You pressed the TAB key !"},
        {tk::VK_TAB, true, nullptr},
        {tk::VK_CONTROL, false, "You pressed the CONTROL key !"},
        {tk::VK_HOME, true, nullptr},
        {tk::VK_ESCAPE, false, nullptr},  // Esc goes to the cancel handling instead
    };
    g_bEnglish = 1;
    g_bKeyFieldsFilled = 1;  // so Esc asks to exit rather than logging
    for (const Case& c : cases) {
        ui.SetChecked(IDC_SHIELD_KEYS, c.shielded);
        const size_t mark = LineCount();
        ui.PressKey(c.vk);
        const auto lines = LinesSince(mark);
        if (c.line) {
            ASSERT_EQ(lines.size(), 1u) << int(c.vk);
            EXPECT_EQ(lines[0], Stamped(c.line, clock));
        } else {
            EXPECT_TRUE(lines.empty()) << int(c.vk);
        }
    }
}

TEST_F(GeneralViewAnnouncements, F1IsConsumedOtherFunctionKeysPassOn) {
    tk::KeyEvent ev;
    ev.type = tk::KeyEvent::Type::Press;
    ui.Keys().Press(tk::VK_F1);
    EXPECT_TRUE(dlg->PreTranslateMessage(ev));
    ui.Keys().Press(tk::VK_F2);
    EXPECT_FALSE(dlg->PreTranslateMessage(ev));
}

TEST_F(GeneralViewAnnouncements, HeldKeysFromBothGroupsGiveThreeLines) {
    const size_t mark = LineCount();
    ui.Keys().Press(tk::VK_F3);
    ui.Keys().Press(tk::VK_HOME);
    ui.Keys().Press(tk::VK_SHIFT);
    tk::KeyEvent ev;
    dlg->PreTranslateMessage(ev);
    EXPECT_EQ(LinesSince(mark).size(), 3u);
}

}  // namespace
