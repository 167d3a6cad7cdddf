#pragma once
// The dialog toolkit over the plain Win32 API: a dialog made from an
// in-memory template of the control table, its menu bar and system menu,
// message boxes, the About box, timers, control colours, and a message loop
// that hands every message to the dialog's key hook before the dialog
// manager (IsDialogMessage) and DispatchMessage see it.
//
// Where the platform would let a key or a device change do harm, the loop
// mends it: Enter outside a multi-line edit presses no button and ends
// nothing (unless the table names a default button); auto-repeat of a key
// the dialog has acted on is the same press; operations (clicks, commands,
// the close box, device changes) that arrive while one runs, or while its
// modal box is open, run after it, in order.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/DialogSurface.h"
#include "toolkit/win32/Win32Api.h"

namespace tk {

// A caption or menu text as Win32 controls draw it.
std::string DisplayText(const std::string& text, ControlKind kind);

class Win32Surface : public DialogSurface {
  public:
    // Builds the dialog hidden; RunModal shows it. Its font is the first of
    // faces that is installed, else a CJK face the system has.
    explicit Win32Surface(const DialogSpec& def, const std::vector<std::wstring>& faces = {
                                                     L"宋体", L"SimSun", L"NSimSun"});
    ~Win32Surface() override;
    Win32Surface(const Win32Surface&) = delete;
    Win32Surface& operator=(const Win32Surface&) = delete;

    // DialogSurface
    void SetEventSink(DialogEvents* sink) override { m_sink = sink; }
    void SetText(int id, const std::string& text) override;
    std::string GetText(int id) const override;
    void AppendText(int id, const std::string& text) override;
    void MoveCaretToEnd(int id) override;
    bool IsChecked(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsEnabled(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    bool IsVisible(int id) const override;
    void SetVisible(int id, bool visible) override;
    void SetAccessibleName(int id, const std::string& name) override;
    void SetFocus(int id) override;
    int FocusedControl() const override { return m_focusId; }
    MsgBoxResult MessageBox(const std::string& text, const std::string& caption,
                            MsgBoxButtons buttons) override;
    void SetWindowTitle(const std::string& title) override;
    std::string WindowTitle() const override;
    void SetMenuBar(const MenuBar& bar) override;
    MenuBar CurrentMenuBar() const override { return m_menu; }
    void AddAboutEntry(const std::string& text) override;
    void ShowAboutBox(const AboutTexts& texts) override;
    void SetWindowEntries(const std::vector<WindowEntry>& entries) override;
    std::string AskFileName(const FileDialogRequest& request) override;
    void StartTimer(int timerId, int periodMs) override;
    int RunModal() override;
    void EndDialog(int result) override;
    void OpenUrl(const std::string& url) override;
    KeyState& Keys() override { return m_keys; }
    void Post(std::function<void()> notification) override;
    void SetInterfaceLanguage(const std::string& tag) override;

    HWND Window() const { return m_hwnd; }
    // Where WM_DEVICECHANGE goes (the device watcher), with its event code.
    void SetDeviceChangeHandler(std::function<void(uint32_t event, uintptr_t data)> handler) {
        m_deviceChange = std::move(handler);
    }
    // A popup that follows the dialog's menu bar whatever bar the dialog
    // installs; its commands go to onCommand, not to the dialog.
    void SetTrailingPopup(const MenuItem& popup, std::function<void(int)> onCommand);
    void EnableTrailingCommand(int commandId, bool enabled);

  private:
    struct Control {
        ControlSpec def;
        HWND hwnd = nullptr;
        HBRUSH background = nullptr;
        std::string caption;  // of a non-edit, exactly as last set
    };
    class BusyScope;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommandMessage(WPARAM wp, LPARAM lp);
    // A window entry chosen in the system menu or one of its submenus; false
    // when systemId is none of theirs.
    bool WindowEntryCommand(UINT systemId);
    INT_PTR OnControlColour(HDC dc, HWND control);
    void PaintMinimised();
    // The key hook and the loop's own rules; true when the message is done with.
    bool PreTranslate(MSG& msg);
    bool ShortcutHeldBack(const MSG& msg);
    void SyncKeysWithAsyncState();
    // Dialog code that is not an operation (typing, focus, timer, key hook):
    // at once, holding operations back until it returns.
    void Notify(const std::function<void(DialogEvents&)>& call);
    // A click, command, close or About: one operation at a time, in order.
    void Operation(const std::function<void(DialogEvents&)>& call);
    void RunWaiting();
    void FocusEntered(int id);
    void MoveFocusTo(const Control& c);
    Control& At(int id);
    const Control& At(int id) const;
    // Sizes the window to its client area under the menu bar, or, where the
    // monitor's work area is smaller, to the work area with the client area
    // scrolling (Win32Scroll.cpp); centred in the work area.
    void FitToWorkArea();
    void UpdateScrollBars();
    // Scrolls the client area to show offset (x, y) of the whole at its
    // top left, within the scroll range.
    void ScrollTo(long x, long y);
    void OnScroll(int bar, WPARAM wp);
    // Scrolls as little as shows the whole of control (as far as it fits).
    void ScrollIntoView(HWND control);

    HWND m_hwnd = nullptr;
    HICON m_icon = nullptr;
    DlgRect m_size;
    SIZE m_full{};     // the whole client area, in pixels
    POINT m_scroll{};  // the part of it at the visible top left
    std::map<int, Control> m_controls;
    DialogEvents* m_sink = nullptr;
    KeyState m_keys;
    int m_focusId = 0;
    // Programmatic changes under way: the control's own notification is not
    // passed on, the toolkit notifies once itself.
    int m_silent = 0;
    int m_focusQuiet = 0;  // focus moves the dialog asked for itself
    int m_busy = 0;        // dialog code runs (an operation, or a modal box inside one)
    int m_operations = 0;  // an operation runs: the busy cursor shows
    int m_boxes = 0;       // message boxes open
    std::deque<std::function<void()>> m_waiting;  // operations that arrived while busy
    LANGID m_language = 0;
    bool m_hasDefaultButton = false;
    std::function<void(uint32_t, uintptr_t)> m_deviceChange;
    MenuBar m_menu;
    HMENU m_menuHandle = nullptr;
    // The window entries after About in the system menu (their commands, in
    // submenus too, and how many items they take at the menu's end), and the
    // accelerators of their shortcuts.
    struct WindowCommand {
        UINT systemId;
        int commandId;
        bool enabled;
    };
    std::vector<WindowCommand> m_windowCommands;
    size_t m_windowEntryItems = 0;
    HACCEL m_accelerators = nullptr;
    MenuItem m_trailing;  // commandId 0 and no items: none
    std::function<void(int)> m_trailingCommand;
    bool m_ended = false;
    int m_endResult = 0;
};

}  // namespace tk
