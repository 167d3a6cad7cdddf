// Keys as an X server delivers them, pressed and released through its test
// extension: a held key is one press, the left and right keys of each pair
// are told apart, and the profile shortcuts leave a key field alone.

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "keypad/KeyNameTable.h"
#include "sim/KeypadModel.h"
#include "sim/ReaderModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"
#include "xserver/XKeyboard.h"

namespace {

using namespace ids;

class KeysOnXTest : public ::testing::Test {
  protected:
    KeysOnXTest() : clock({2026, 12, 7, 9, 5, 7, 0}), port(clock), ui(app::MainDialogSpec()) {}
    void SetUp() override {
        if (!kb.Connected()) GTEST_SKIP() << "no X server";
    }
    void Show() {
        ui.Dialog()->show();
        ui.Dialog()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ui.Dialog()));
    }
    // The dialog over a virtual keypad, in the view asked for.
    void Start(bool keyboardView) {
        port.AttachQuietly(std::make_unique<sim::KeypadModel>(std::make_unique<sim::AckingModel>(),
                                                              DEFAULT_KEY_CODES));
        dlg = std::make_unique<CReaderConfigDlg>(ui, port, port, clock);
        dlg->OnInitDialog();
        Show();
        if (keyboardView) dlg->OnCommand(ID_TOGGLE_VIEW);
        ASSERT_EQ(ui.IsVisible(KeyFieldId(1)), keyboardView);
    }
    // Holds a key until the server has repeated it ten times, then lets go.
    void Hold(xcb_keysym_t key) {
        kb.Down(key);
        const bool repeated = kb.WaitFor([&] { return kb.PressesSeen(key) >= 10; });
        kb.Up(key);
        ASSERT_TRUE(repeated) << "the server did not repeat the key";
        ASSERT_TRUE(kb.Sync(ui.Dialog()));
    }
    // The window menu's entry for commandId.
    QAction* WindowEntry(int commandId) {
        menu.reset(ui.NewWindowMenu(ui.Dialog()));
        for (QAction* a : menu->actions())
            if (a->data().toInt() == commandId) return a;
        return nullptr;
    }
    size_t LinesOf(const std::string& text) const {
        const std::string pane = ui.GetText(IDC_OUTPUT);
        size_t n = 0;
        for (size_t at = pane.find(text); at != std::string::npos; at = pane.find(text, at + 1))
            ++n;
        return n;
    }

    widgettest::AppFirst app;
    sim::VirtualClock clock;
    sim::VirtualHidPort port;
    tk::QtSurface ui;
    xtest::XKeyboard kb;
    std::unique_ptr<CReaderConfigDlg> dlg;
    std::unique_ptr<QMenu> menu;
};

TEST_F(KeysOnXTest, AHeldKeyIsAnnouncedOnce) {
    const struct {
        bool keyboardView;
        int focus;
        xcb_keysym_t key;
        const char* line;
    } cases[] = {
        {false, IDC_MIDDLE_SEP_TEXT, XKB_KEY_Escape, "你按下了 ESC 功能键 ！"},
        {false, IDC_MIDDLE_SEP_TEXT, XKB_KEY_F5, "你按下了 F5 功能键 ！"},
        {true, IDC_OUTPUT, XKB_KEY_F3, "你按下了 F3 键！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        dlg.reset();
        Start(c.keyboardView);
        ui.SetFocus(c.focus);
        Hold(c.key);
        EXPECT_EQ(LinesOf(c.line), 1u);
        EXPECT_FALSE(ui.Keys().IsDown(tk::VK_ESCAPE));
        EXPECT_EQ(dlg->Result(), 0);
    }
}

TEST_F(KeysOnXTest, LeftAndRightKeysAreToldApart) {
    const struct {
        xcb_keysym_t key;
        uint8_t vk, otherSide, eitherSide;
    } cases[] = {
        {XKB_KEY_Shift_L, tk::VK_LSHIFT, tk::VK_RSHIFT, tk::VK_SHIFT},
        {XKB_KEY_Shift_R, tk::VK_RSHIFT, tk::VK_LSHIFT, tk::VK_SHIFT},
        {XKB_KEY_Control_L, tk::VK_LCONTROL, tk::VK_RCONTROL, tk::VK_CONTROL},
        {XKB_KEY_Control_R, tk::VK_RCONTROL, tk::VK_LCONTROL, tk::VK_CONTROL},
        {XKB_KEY_Alt_L, tk::VK_LMENU, tk::VK_RMENU, tk::VK_MENU},
        {XKB_KEY_Alt_R, tk::VK_RMENU, tk::VK_LMENU, tk::VK_MENU},
        {XKB_KEY_Super_L, tk::VK_LWIN, tk::VK_RWIN, tk::VK_LWIN},
        {XKB_KEY_Super_R, tk::VK_RWIN, tk::VK_LWIN, tk::VK_RWIN},
    };
    Show();  // no dialog acts on the keys: the key state alone
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        ASSERT_NE(kb.KeyCodeOf(c.key), 0);
        kb.Down(c.key);
        ASSERT_TRUE(kb.Sync(ui.Dialog()));
        EXPECT_TRUE(ui.Keys().IsDown(c.vk));
        EXPECT_FALSE(ui.Keys().IsDown(c.otherSide));
        EXPECT_TRUE(ui.Keys().IsDown(c.eitherSide));
        kb.Up(c.key);
        ASSERT_TRUE(kb.Sync(ui.Dialog()));
        EXPECT_FALSE(ui.Keys().IsDown(c.vk));
        EXPECT_FALSE(ui.Keys().IsDown(c.eitherSide));
    }
}

TEST_F(KeysOnXTest, EachWindowsKeyIsAnnouncedByItsSide) {
    Start(false);
    ui.SetChecked(IDC_SHIELD_KEYS, false);
    ui.SetFocus(IDC_MIDDLE_SEP_TEXT);
    kb.Tap(XKB_KEY_Super_R);
    kb.Tap(XKB_KEY_Super_L);
    ASSERT_TRUE(kb.Sync(ui.Dialog()));
    EXPECT_EQ(LinesOf("你按下了 RWIN 功能键 ！"), 1u);
    EXPECT_EQ(LinesOf("你按下了 LWIN 功能键 ！"), 1u);
}

TEST_F(KeysOnXTest, ProfileShortcutsLeaveAKeyFieldToTheKeyCapture) {
    Start(true);
    for (xcb_keysym_t letter : {XKB_KEY_s, XKB_KEY_o}) {
        ui.SetFocus(KeyFieldId(5));
        ui.Modal().QueueAnswer(tk::MsgBoxResult::No);  // would cancel a file dialog
        kb.Down(XKB_KEY_Control_L);
        kb.Tap(letter);
        kb.Up(XKB_KEY_Control_L);
        ASSERT_TRUE(kb.Sync(ui.Dialog()));
        ui.FinishOperations();
        EXPECT_EQ(ui.Modal().BoxesRun(), 0) << "a shortcut opened a file dialog";
        EXPECT_EQ(ui.GetText(KeyFieldId(5)), "CTRL");  // Ctrl itself is captured
    }
}

TEST_F(KeysOnXTest, KeysTypedInAFileDialogFromTheMenuLeaveTheKeyFields) {
    Start(true);
    ui.SetFocus(KeyFieldId(5));
    const std::string before = ui.GetText(KeyFieldId(5));
    QAction* load = WindowEntry(ID_LOAD_PROFILE);
    ASSERT_NE(load, nullptr);
    bool closedByEsc = false;
    ui.Modal().QueueAnswer(tk::MsgBoxResult::No, [&] {
        QWidget* files = QApplication::activeModalWidget();
        ASSERT_NE(files, nullptr);
        files->activateWindow();  // as a window manager does
        ASSERT_TRUE(QTest::qWaitForWindowActive(files));
        ASSERT_TRUE(kb.Sync(files));  // the server has the focus change too
        kb.Tap(XKB_KEY_Tab);          // both in the capture table
        kb.Tap(XKB_KEY_Escape);
        closedByEsc = kb.WaitFor([&] { return !files->isVisible(); });
    });
    load->trigger();
    ui.FinishOperations();
    ASSERT_TRUE(kb.Sync(ui.Dialog()));
    EXPECT_TRUE(closedByEsc);
    EXPECT_EQ(ui.Modal().BoxesRun(), 1);
    EXPECT_EQ(ui.GetText(KeyFieldId(5)), before);
}

}  // namespace
