// Switching between the general and the keyboard settings view.

#include <gtest/gtest.h>

#include <functional>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/keypad/ViewSets.h"
#include "support/KeypadFixture.h"
#include "toolkit/KeyCodes.h"

using namespace ids;

namespace {

class ViewSwitchTest : public KeypadFixture {
  protected:
    void StartWith(std::unique_ptr<sim::ReaderModel> model) {
        if (model) device = &AttachBeforeStart(std::move(model));
        Start();
    }
    bool KeyboardViewShown() const {
        for (int id : KeyboardViewControls())
            if (!ui.IsVisible(id)) return false;
        for (int id : GeneralViewControls())
            if (ui.IsVisible(id)) return false;
        return true;
    }
    std::string MenuText() const {
        const tk::MenuItem* item = ui.FindMenuItem(ID_TOGGLE_VIEW);
        return item ? item->text : "";
    }
};

TEST_F(ViewSwitchTest, RefusedWithoutAKeypad) {
    struct Case {
        std::function<std::unique_ptr<sim::ReaderModel>()> model;
        const char* zh;
        const char* en;
    } cases[] = {
        {[] { return nullptr; }, "请连接设备再进行键盘配置 ！",
         "Please connect device for keyboard configuration !"},
        {[] { return PlainReader(); }, "此设备不支持键盘设置！",
         "This device does not support keyboard Settings !"},
        {[] { return OlderReader(); }, "此设备不支持键盘设置！",
         "This device does not support keyboard Settings !"},
    };
    for (uint8_t english : {0, 1}) {
        for (const Case& c : cases) {
            DialogFixture::TearDown();
            dlg.reset();
            for (sim::VirtualDevice* d : port.Devices()) port.DetachQuietly(*d);
            device = nullptr;
            StartWith(c.model());
            if (english) ui.Click(IDC_ENGLISH);
            const std::string menuBefore = MenuText();
            ASSERT_TRUE(ui.ChooseMenu(ID_TOGGLE_VIEW));
            EXPECT_EQ(LastLine(), Stamped(english ? c.en : c.zh, clock));
            EXPECT_EQ(g_bKeyboardView, 0);
            EXPECT_TRUE(ui.IsVisible(IDC_SET_DEVICE));
            EXPECT_FALSE(ui.IsVisible(KeyFieldId(1)));
            EXPECT_EQ(MenuText(), menuBefore);
        }
    }
}

TEST_F(ViewSwitchTest, KeypadOpensTheKeyboardView) {
    kp::KeyCodes codes = DEFAULT_KEY_CODES;
    codes[2] = 0xF4;  // KEY3 sends F5
    StartWith(Keypad(codes));
    ASSERT_TRUE(ui.ChooseMenu(ID_TOGGLE_VIEW));
    EXPECT_EQ(g_bKeyboardView, 1);
    EXPECT_TRUE(KeyboardViewShown());
    EXPECT_EQ(ui.GetText(KeyFieldId(3)), "F5");
    EXPECT_EQ(ui.GetText(KeyFieldId(17)), "清除");
    EXPECT_EQ(ui.GetText(IDC_TIP_TEXT).rfind("\n", 0), 0u);  // the Chinese tips
    EXPECT_EQ(LastLine(), Stamped("切换至键盘设置界面成功！", clock));
    EXPECT_EQ(ui.WindowTitle(), "键盘设置");
    EXPECT_EQ(MenuText(), "切换到普通设置界面");
    EXPECT_EQ(ui.FocusedControl(), IDC_OUTPUT);
    EXPECT_EQ(g_nCurrentKey, 255);
    EXPECT_EQ(g_bKeyFieldsFilled, 1);
}

TEST_F(ViewSwitchTest, EnglishTitleAndMenuInTheKeyboardView) {
    StartWith(Keypad());
    ui.Click(IDC_ENGLISH);
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    EXPECT_EQ(ui.WindowTitle(), "Config keyboard");
    EXPECT_EQ(MenuText(), "\tSwitch to normal Settings\t");
    EXPECT_EQ(LastLine(),
              Stamped("Switch to the keyboard Settings interface successfully!", clock));
    EXPECT_EQ(ui.GetText(KeyFieldId(17)), "CLEAR");
}

TEST_F(ViewSwitchTest, SilentKeypadGetsTheDefaultLayout) {
    StartWith(std::make_unique<sim::SilentModel>());
    dlg->Link().SetTracer(&counter);
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "电脑反应慢提示");
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
    const auto lines = OutputLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "读取键盘数据错误！");
    EXPECT_EQ(lines.back(), Stamped("已发送修复指令，请再次打开键盘配置！", clock));
    const auto frames = Frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[frames.size() - 1], KeyCodeFrame(DEFAULT_KEY_CODES));
    EXPECT_EQ(frames[frames.size() - 2], KeyCodeFrame(DEFAULT_KEY_CODES));
    EXPECT_EQ(g_bKeyboardView, 0);

    ui.ClearMessageBoxes();
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    EXPECT_TRUE(ui.MessageBoxes().empty());  // the box is already ticked
}

TEST_F(ViewSwitchTest, BackToGeneralSendsNothingAndKeepsTheControls) {
    StartWith(Keypad());
    ui.SetChecked(IDC_TRACK2, false);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    const size_t framesBefore = device->Received().size();
    ASSERT_TRUE(ui.ChooseMenu(ID_TOGGLE_VIEW));
    EXPECT_EQ(device->Received().size(), framesBefore);
    EXPECT_EQ(g_bKeyboardView, 0);
    EXPECT_EQ(LastLine(), Stamped("切换至普通设置界面成功！", clock));
    EXPECT_FALSE(ui.IsChecked(IDC_TRACK2));
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "--");
    EXPECT_TRUE(ui.IsVisible(IDC_SET_DEVICE));
    EXPECT_FALSE(ui.IsVisible(KeyFieldId(1)));
    EXPECT_EQ(ui.WindowTitle(), "USB 读卡器设置");
    EXPECT_EQ(MenuText(), "切换到键盘设置界面");
}

TEST_F(ViewSwitchTest, EditedKeyFieldsAreOverwrittenOnTheNextSwitch) {
    StartWith(Keypad());
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    const std::string stored = ui.GetText(KeyFieldId(1));
    ASSERT_NE(stored, "F9");
    ui.ClickInto(KeyFieldId(1));
    ui.PressKey(tk::VK_F9);
    EXPECT_EQ(ui.GetText(KeyFieldId(1)), "F9");
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    EXPECT_EQ(ui.GetText(KeyFieldId(1)), "F9");  // kept while hidden
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    EXPECT_EQ(ui.GetText(KeyFieldId(1)), stored);
}

TEST_F(ViewSwitchTest, ItemGreyedDuringEitherBatch) {
    StartWith(Keypad());
    for (uint8_t english : {0, 1}) {
        if (english) ui.Click(IDC_ENGLISH);
        g_bBatchMode = 1;
        dlg->RebuildMenuBar();
        EXPECT_FALSE(ui.ChooseMenu(ID_TOGGLE_VIEW));
        g_bBatchMode = 0;
        g_bKeyboardBatch = 1;
        dlg->RebuildMenuBar();
        EXPECT_FALSE(ui.ChooseMenu(ID_TOGGLE_VIEW));
        g_bKeyboardBatch = 0;
        dlg->RebuildMenuBar();
        EXPECT_TRUE(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled);
    }
}

TEST_F(ViewSwitchTest, KeypadOptions) {
    StartWith(Keypad());
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    const size_t mark = LineCount();
    ui.Click(IDC_AUTO_KEYBOARD);
    EXPECT_EQ(g_bAutoKeyboardConfig, 1);
    EXPECT_EQ(LineCount(), mark);  // nothing shown
    ui.Click(IDC_AUTO_KEYBOARD);
    EXPECT_EQ(g_bAutoKeyboardConfig, 0);
    ui.ChooseMenu(ID_TOGGLE_VIEW);
    ui.SetChecked(IDC_SHIELD_KEYS, true);
    ui.Click(IDC_SHIELD_KEYS);
    EXPECT_EQ(LastLine(), Stamped("已解除屏蔽键盘功能键！", clock));
    ui.Click(IDC_ENGLISH);
    ui.Click(IDC_SHIELD_KEYS);
    EXPECT_EQ(LastLine(), Stamped("Was blocking the keyboard function keys!", clock));
}

}  // namespace
