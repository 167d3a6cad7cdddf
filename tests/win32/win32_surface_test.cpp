// The Win32 toolkit on the real window system (under Wine in the test run):
// the dialog built from the control table, the notification contract, and
// the message loop's key and device-change rules, driven by posting the
// messages the system would queue.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ControlTable.h"
#include "device/win32/Win32HidPort.h"
#include "toolkit/win32/DialogTemplate.h"
#include "toolkit/win32/Win32Surface.h"

namespace {

constexpr int EDIT = 10;
constexpr int PANE = 11;
constexpr int BUTTON = 12;
constexpr int CHECK = 13;
constexpr int RADIO_A = 14;
constexpr int RADIO_B = 15;
constexpr int END_COMMAND = 99;  // a menu command the test sends last: ends the loop

tk::DialogSpec SmallSpec() {
    using tk::ControlKind;
    tk::DialogSpec d;
    d.title = "test";
    d.size = {0, 0, 200, 120};
    auto add = [&d](int id, ControlKind kind, tk::DlgRect r, int group = 0) {
        tk::ControlSpec c;
        c.id = id;
        c.kind = kind;
        c.rect = r;
        c.radioGroup = group;
        d.controls.push_back(c);
    };
    add(EDIT, ControlKind::Edit, {5, 5, 60, 12});
    add(PANE, ControlKind::MultiLineEdit, {80, 5, 110, 80});
    add(BUTTON, ControlKind::PushButton, {5, 25, 50, 14});
    add(CHECK, ControlKind::CheckBox, {5, 45, 60, 10});
    add(RADIO_A, ControlKind::RadioButton, {5, 60, 60, 10}, 1);
    add(RADIO_B, ControlKind::RadioButton, {5, 75, 60, 10}, 1);
    return d;
}

// Records what the toolkit tells the dialog; hooks let a case act as the
// dialog would.
class Recorder : public tk::DialogEvents {
  public:
    explicit Recorder(tk::Win32Surface& ui) : m_ui(ui) {}
    void OnCommand(int id) override {
        if (id == END_COMMAND) {
            m_ui.EndDialog(0);
            return;
        }
        log.push_back("command " + std::to_string(id));
        if (onCommand) onCommand(id);
    }
    void OnEditChange(int id) override { log.push_back("change " + std::to_string(id)); }
    void OnEditFocus(int id) override { log.push_back("focus " + std::to_string(id)); }
    bool PreTranslateMessage(const tk::KeyEvent& ev) override {
        if (ev.type == tk::KeyEvent::Type::Shortcut) return holdShortcuts;
        if (ev.type != tk::KeyEvent::Type::Press) return false;
        log.push_back("press " + std::to_string(ev.vk));
        return hook ? hook(ev) : false;
    }
    void OnTimer(int) override {}
    void OnCancel() override { log.push_back("cancel"); }
    void OnAboutCommand() override { log.push_back("about"); }

    std::vector<std::string> log;
    std::function<void(int)> onCommand;
    std::function<bool(const tk::KeyEvent&)> hook;
    bool holdShortcuts = false;  // the answer to KeyEvent::Type::Shortcut

  private:
    tk::Win32Surface& m_ui;
};

// A key message as the keyboard queues it: repeat count 1, scan code,
// previous state and transition bits.
void PostKeyTo(HWND hwnd, UINT message, WPARAM vk, bool repeat = false) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    const LPARAM lp = 1 | (scan << 16) | (repeat ? (1L << 30) : 0) |
                      (message == WM_KEYUP ? static_cast<LPARAM>(3UL << 30) : 0);
    PostMessageW(hwnd, message, vk, lp);
}

// A checkable window entry, as the device choice's.
tk::WindowEntry Command(int id, const char* text, bool enabled, bool checked = false) {
    tk::WindowEntry e;
    e.commandId = id;
    e.text = text;
    e.enabled = enabled;
    e.checkable = true;
    e.checked = checked;
    return e;
}

class Win32SurfaceTest : public ::testing::Test {
  protected:
    Win32SurfaceTest() : ui(SmallSpec()), sink(ui) { ui.SetEventSink(&sink); }
    ~Win32SurfaceTest() override { ui.SetEventSink(nullptr); }

    HWND Hwnd(int id) const { return GetDlgItem(ui.Window(), id); }
    void PostKey(int id, UINT message, WPARAM vk, bool repeat = false) {
        PostKeyTo(Hwnd(id), message, vk, repeat);
    }
    // A key that types a character: its key-down, the character message that
    // TranslateMessage makes of it on a real keyboard, its key-up.
    void PostTypingKey(int id, WPARAM vk, wchar_t ch) {
        PostKey(id, WM_KEYDOWN, vk);
        const LPARAM scan =
            static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
        PostMessageW(Hwnd(id), WM_CHAR, ch, 1 | (scan << 16));
        PostKey(id, WM_KEYUP, vk);
    }
    // Runs the dialog's loop over everything posted so far.
    void Run() {
        PostMessageW(ui.Window(), WM_COMMAND, END_COMMAND, 0);
        ui.RunModal();
    }

    tk::Win32Surface ui;
    Recorder sink;
};

TEST(Win32DialogTest, EveryControlOfTheTableIsBuiltInDialogUnits) {
    const tk::DialogSpec& def = app::MainDialogSpec();
    tk::Win32Surface ui(def);
    for (const tk::ControlSpec& c : def.controls) {
        SCOPED_TRACE(c.id);
        HWND hwnd = GetDlgItem(ui.Window(), c.id);
        ASSERT_NE(hwnd, nullptr);
        // The dialog manager converts place and size each on its own.
        RECT place{c.rect.x, c.rect.y, c.rect.width, c.rect.height};
        MapDialogRect(ui.Window(), &place);
        RECT got;
        GetWindowRect(hwnd, &got);
        MapWindowPoints(nullptr, ui.Window(), reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, place.left);
        EXPECT_EQ(got.top, place.top);
        EXPECT_EQ(got.right - got.left, place.right);
        EXPECT_EQ(got.bottom - got.top, place.bottom);
        EXPECT_EQ(ui.IsVisible(c.id), c.shown);
        EXPECT_EQ(ui.IsEnabled(c.id), !c.disabled);
        const bool edit =
            c.kind == tk::ControlKind::Edit || c.kind == tk::ControlKind::MultiLineEdit;
        if (!edit) {
            EXPECT_EQ(ui.GetText(c.id), c.caption);
        }
    }
    EXPECT_EQ(ui.WindowTitle(), def.title);
    // The template's size is the client area under the menu bar.
    RECT client{0, 0, def.size.width, def.size.height};
    MapDialogRect(ui.Window(), &client);
    RECT got;
    GetClientRect(ui.Window(), &got);
    EXPECT_EQ(got.right, client.right);
    EXPECT_EQ(got.bottom, client.bottom);
}

TEST_F(Win32SurfaceTest, ProgrammaticChangesNotifyExactlyOnce) {
    struct Case {
        const char* name;
        std::function<void(tk::Win32Surface&)> act;
        std::vector<std::string> want;
    };
    const std::vector<Case> cases = {
        {"edit text", [](auto& ui) { ui.SetText(EDIT, "abc"); }, {"change 10"}},
        {"same text again", [](auto& ui) { ui.SetText(EDIT, "abc"); }, {"change 10"}},
        {"pane text", [](auto& ui) { ui.SetText(PANE, "a\r\nb"); }, {"change 11"}},
        {"pane append", [](auto& ui) { ui.AppendText(PANE, "c\r\n"); }, {"change 11"}},
        {"caption", [](auto& ui) { ui.SetText(BUTTON, "Go\t&"); }, {}},
        {"focus an edit", [](auto& ui) { ui.SetFocus(EDIT); }, {"focus 10"}},
        {"focus it again", [](auto& ui) { ui.SetFocus(EDIT); }, {}},
        {"focus a button", [](auto& ui) { ui.SetFocus(BUTTON); }, {}},
        {"back to the pane", [](auto& ui) { ui.SetFocus(PANE); }, {"focus 11"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.log.clear();
        c.act(ui);
        EXPECT_EQ(sink.log, c.want);
    }
    EXPECT_EQ(ui.GetText(PANE), "a\r\nbc\r\n");
    EXPECT_EQ(ui.GetText(BUTTON), "Go\t&");  // as set, whatever the button draws
    EXPECT_EQ(ui.FocusedControl(), PANE);
}

TEST_F(Win32SurfaceTest, KeysReachTheHookOnceAndTheControlTheyWerePressedIn) {
    ui.SetText(EDIT, "ab");
    ui.SetFocus(EDIT);
    ui.MoveCaretToEnd(EDIT);
    ui.SetText(PANE, "log\r\n");
    // Like the general view's hook: F5 is acted on; Backspace is announced,
    // which moves the focus to the pane, and passed on.
    sink.hook = [this](const tk::KeyEvent& ev) {
        if (ev.vk == VK_F5) ui.Keys().WaitForRelease(VK_F5);
        if (ev.vk == VK_BACK) ui.SetFocus(PANE);
        return false;
    };
    PostKey(EDIT, WM_KEYDOWN, VK_F5);
    for (int i = 0; i < 3; ++i) PostKey(EDIT, WM_KEYDOWN, VK_F5, true);  // held
    PostKey(EDIT, WM_KEYUP, VK_F5);
    PostKey(EDIT, WM_KEYDOWN, VK_F5);  // pressed again
    PostKey(EDIT, WM_KEYUP, VK_F5);
    PostTypingKey(EDIT, VK_BACK, L'\b');
    PostTypingKey(EDIT, VK_RETURN, L'\r');
    PostTypingKey(CHECK, VK_RETURN, L'\r');
    PostTypingKey(BUTTON, VK_RETURN, L'\r');  // a focused button becomes the default one
    PostTypingKey(PANE, VK_RETURN, L'\r');
    PostTypingKey(EDIT, VK_ESCAPE, 0x1B);
    sink.log.clear();
    Run();

    const std::vector<std::string> want = {"press 116", "press 116", "press 8",  "focus 11",
                                           "change 10", "press 13",  "press 13", "press 13",
                                           "press 13",  "change 11", "press 27", "cancel"};
    EXPECT_EQ(sink.log, want);
    EXPECT_EQ(ui.GetText(EDIT), "a");            // Backspace went to the edit, not the pane
    EXPECT_EQ(ui.GetText(PANE), "\r\nlog\r\n");  // Enter in the pane, at its caret
}

TEST_F(Win32SurfaceTest, RadioButtonsOfAGroupExcludeEachOtherAndNotifyAfterChecking) {
    std::vector<bool> seen;
    sink.onCommand = [&](int) {
        seen.push_back(ui.IsChecked(RADIO_A));
        seen.push_back(ui.IsChecked(RADIO_B));
    };
    ui.SetChecked(RADIO_A, true);
    for (int id : {RADIO_B, RADIO_A})
        PostMessageW(ui.Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Hwnd(id)));
    Run();
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true, false}));
}

// A WH_CBT hook: as the message box is activated, a device-tree change
// arrives, the user clicks the check box, and the box is answered.
HWND g_dialog = nullptr;
HHOOK g_boxHook = nullptr;
LRESULT CALLBACK AnswerBox(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wp) != g_dialog) {
        SendMessageW(g_dialog, WM_DEVICECHANGE, 0x0007, 0);
        PostMessageW(g_dialog, WM_COMMAND, MAKEWPARAM(CHECK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(g_dialog, CHECK)));
        PostMessageW(reinterpret_cast<HWND>(wp), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_boxHook, code, wp, lp);
}

TEST_F(Win32SurfaceTest, OperationsDuringAnOperationAndItsMessageBoxWaitForItsEnd) {
    ui.SetDeviceChangeHandler([this](uint32_t event, uintptr_t) {
        sink.log.push_back("device " + std::to_string(event));
    });
    g_dialog = ui.Window();
    sink.onCommand = [this](int id) {
        if (id != BUTTON) return;
        // Arrival events carry a pointer and can only be sent, not posted.
        SendMessageW(ui.Window(), WM_DEVICECHANGE, 0x8000, 0);
        g_boxHook = SetWindowsHookExW(WH_CBT, AnswerBox, nullptr, GetCurrentThreadId());
        ui.MessageBox("text", "caption", tk::MsgBoxButtons::Ok);
        UnhookWindowsHookEx(g_boxHook);
        sink.log.push_back("box closed");
    };
    ui.SetFocus(BUTTON);
    SendMessageW(ui.Window(), WM_DEVICECHANGE, 0x8004, 0);  // idle: handled at once
    PostMessageW(ui.Window(), WM_COMMAND, MAKEWPARAM(BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Hwnd(BUTTON)));
    Run();
    const std::vector<std::string> want = {"device 32772", "command 12", "box closed",
                                           "device 32768", "device 7",   "command 13"};
    EXPECT_EQ(sink.log, want);
}

TEST_F(Win32SurfaceTest, WindowEntriesWithCheckMarksAndASubmenuFollowAboutInTheSystemMenu) {
    HMENU system = GetSystemMenu(ui.Window(), FALSE);
    ASSERT_NE(system, nullptr);
    ui.AddAboutEntry("About");
    const int before = GetMenuItemCount(system);
    tk::WindowEntry devices;
    devices.text = "Devices";
    devices.submenu = {Command(41, "one", true), Command(42, "two & more", true, true)};
    ui.SetWindowEntries({Command(40, "grey", false), devices});
    // Set again: the old entries go, none is left twice.
    ui.SetWindowEntries({Command(40, "grey", false), devices});
    ASSERT_EQ(GetMenuItemCount(system), before + 2);
    EXPECT_TRUE(GetMenuState(system, static_cast<UINT>(before), MF_BYPOSITION) & MF_GRAYED);
    HMENU sub = GetSubMenu(system, before + 1);
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(GetMenuItemCount(sub), 2);
    EXPECT_FALSE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(sub, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);  // one choice among the submenu's entries
    wchar_t text[32] = {};
    GetMenuStringW(sub, 1, text, 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"two && more");  // "&" shown, no mnemonic
    ui.SetWindowEntries({});
    EXPECT_EQ(GetMenuItemCount(system), before);
}

TEST(Win32DialogTest, TheDialogMayKeepAKeyFromStartingAShortcut) {
    tk::WindowEntry save;
    save.commandId = 50;
    save.text = "Save";
    save.shortcut = "Ctrl+S";
    const struct {
        bool held;
        std::vector<std::string> want;
    } cases[] = {
        {false, {"command 50"}}, {true, {"press 83"}},  // the key reaches the dialog as a key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.held ? "held back" : "let through");
        tk::Win32Surface ui(SmallSpec());
        Recorder sink(ui);
        ui.SetEventSink(&sink);
        ui.SetWindowEntries({save});
        sink.holdShortcuts = c.held;
        // Ctrl is down as the accelerator table reads it.
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        const HWND edit = GetDlgItem(ui.Window(), EDIT);
        PostKeyTo(edit, WM_KEYDOWN, 'S');
        PostKeyTo(edit, WM_KEYUP, 'S');
        PostMessageW(ui.Window(), WM_COMMAND, END_COMMAND, 0);
        ui.RunModal();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(sink.log, c.want);
        ui.SetEventSink(nullptr);
    }
}

// Ends the dialog's loop once the menu loop has ended: the chosen item's
// command is queued by then.
HHOOK g_menuHook = nullptr;
LRESULT CALLBACK EndAfterMenu(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == WM_EXITMENULOOP)
        PostMessageW(call->hwnd, WM_COMMAND, END_COMMAND, 0);
    return CallNextHookEx(g_menuHook, code, wp, lp);
}

TEST(Win32DialogTest, WindowEntriesChosenThroughTheSystemMenuByKeysReachTheDialog) {
    tk::WindowEntry devices;
    devices.text = "Devices";
    devices.submenu = {Command(41, "one", true), Command(42, "two", true)};
    struct Case {
        const char* name;
        std::vector<WPARAM> keys;  // after Alt+Space
        std::vector<std::string> want;
    };
    // Wine shows the system menu's items through an Enter it posts itself,
    // after the keys already queued: the first arrow key shows them, on the
    // first item; Up from there reaches the last one.
    const std::vector<Case> cases = {
        {"submenu, first item", {VK_UP, VK_UP, VK_RIGHT, VK_RETURN}, {"command 41"}},
        {"submenu, second item", {VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, {"command 42"}},
        {"plain entry", {VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}, {"command 39"}},
        {"greyed entry", {VK_UP, VK_UP, VK_UP, VK_RETURN}, {}},
        {"About", {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}, {"about"}},
        {"left with Alt", {VK_UP, VK_UP, VK_RIGHT, VK_MENU}, {}},
    };
    g_menuHook = SetWindowsHookExW(WH_CALLWNDPROC, EndAfterMenu, nullptr, GetCurrentThreadId());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tk::Win32Surface ui(SmallSpec());
        Recorder sink(ui);
        ui.SetEventSink(&sink);
        ui.AddAboutEntry("About");
        ui.SetWindowEntries({Command(39, "plain", true), Command(40, "grey", false), devices});
        // Alt+Space as the dialog's loop gets it from TranslateMessage
        // (bit 29: Alt is down); the system menu's own loop takes the further
        // keys from the queue.
        const HWND button = GetDlgItem(ui.Window(), BUTTON);
        PostMessageW(button, WM_SYSCHAR, L' ', 1 | (1L << 29));
        for (WPARAM vk : c.keys) {
            PostKeyTo(button, WM_KEYDOWN, vk);  // the loop translates Enter into its character
            PostKeyTo(button, WM_KEYUP, vk);
        }
        ui.RunModal();
        std::vector<std::string> got;
        for (const std::string& line : sink.log)
            if (line.rfind("press", 0) != 0) got.push_back(line);
        EXPECT_EQ(got, c.want);
        ui.SetEventSink(nullptr);
    }
    UnhookWindowsHookEx(g_menuHook);
}

TEST(Win32DialogTest, DisplayTextKeepsTabsAndAmpersandsVisible) {
    EXPECT_EQ(tk::DisplayText("\tSwitch\t", tk::ControlKind::PushButton), "  Switch  ");
    EXPECT_EQ(tk::DisplayText("A&B", tk::ControlKind::CheckBox), "A&&B");
    EXPECT_EQ(tk::DisplayText("A&B", tk::ControlKind::StaticText), "A&B");
}

TEST(Win32HidPortTest, OpenTellsAMissingInterfaceApart) {
    dev::Win32HidPort port;
    dev::OpenError error = dev::OpenError::None;
    EXPECT_EQ(port.Open(R"(\\?\hid#vid_016c&pid_04f3#none#{4d1e55b2-f16f-11cf-88cb-001111000030})",
                        &error),
              nullptr);
    EXPECT_EQ(error, dev::OpenError::NotFound);
    for (const dev::HidInterfaceInfo& info : port.Enumerate()) EXPECT_FALSE(info.path.empty());
}

}  // namespace
