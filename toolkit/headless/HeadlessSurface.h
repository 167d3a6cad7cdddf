#pragma once
// The dialog toolkit in memory, for tests. It keeps every control's state,
// raises change and focus notifications synchronously exactly when the real
// widgets would, answers message boxes from a queue a test fills, and offers
// the user's actions (click, type, press a key) as test operations.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/DialogSurface.h"

namespace tk {

struct ShownMessageBox {
    std::string text, caption;
    MsgBoxButtons buttons;
    MsgBoxResult answer;
};

class HeadlessSurface : public DialogSurface {
  public:
    explicit HeadlessSurface(const DialogSpec& def);

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
    int FocusedControl() const override { return m_focus; }
    MsgBoxResult MessageBox(const std::string& text, const std::string& caption,
                            MsgBoxButtons buttons) override;
    void SetWindowTitle(const std::string& title) override { m_title = title; }
    std::string WindowTitle() const override { return m_title; }
    void SetMenuBar(const MenuBar& bar) override { m_menu = bar; }
    MenuBar CurrentMenuBar() const override { return m_menu; }
    void AddAboutEntry(const std::string& text) override { m_aboutEntries.push_back(text); }
    void ShowAboutBox(const AboutTexts& texts) override { m_aboutBoxes.push_back(texts); }
    void SetWindowEntries(const std::vector<WindowEntry>& entries) override {
        m_windowEntries = entries;
    }
    std::string AskFileName(const FileDialogRequest& request) override;
    void StartTimer(int timerId, int periodMs) override;
    int RunModal() override { return m_endResult; }  // tests drive the dialog themselves
    void EndDialog(int result) override;
    void OpenUrl(const std::string& url) override { m_openedUrls.push_back(url); }
    KeyState& Keys() override { return m_keys; }
    void Post(std::function<void()> notification) override { Deliver(std::move(notification)); }
    void SetInterfaceLanguage(const std::string& tag) override { m_language = tag; }

    // --- What a user does. Each acts only on a visible, enabled control. ---
    // Clicks a button, check box or radio button; returns false when the
    // control cannot be clicked (hidden or disabled).
    bool Click(int id);
    // Chooses a menu command; false when the item is missing or greyed.
    bool ChooseMenu(int commandId);
    // Focuses an edit (as a mouse click into it would) and puts the caret at
    // character position caret (-1: the end).
    bool ClickInto(int id, int caret = -1);
    // Types text at the caret of the focused edit, one character at a time,
    // each raising a change notification, as typing does.
    void Type(const std::string& text);
    // Presses and releases a key, through the pre-translation hook first; a
    // key the hook does not consume gets the toolkit's default handling.
    void PressKey(uint8_t vk);
    // Presses a key and keeps it down (for combinations); ReleaseKey ends it.
    void HoldKey(uint8_t vk);
    // One auto-repeated press of a held key.
    void RepeatKey(uint8_t vk);
    void ReleaseKey(uint8_t vk);
    // The action a screen reader offers on a button, check box or radio
    // button (press, toggle): the same as a click.
    bool AccessibleAction(int id) { return Click(id); }
    // Lets the clock timer fire once.
    void FireTimer(int timerId);
    // Closes the window with the close box.
    void CloseWindow();
    // Chooses an entry of the window's own menu, also one in a submenu;
    // false when it is missing or greyed.
    bool ChooseWindowEntry(int commandId);

    // --- Message boxes: answers for the next boxes, and the boxes shown. ---
    // whileOpen runs while the box is open, before it is answered (what the
    // user or a device does meanwhile).
    void QueueAnswer(MsgBoxResult answer, std::function<void()> whileOpen = {}) {
        m_answers.push_back({answer, std::move(whileOpen)});
    }
    const std::vector<ShownMessageBox>& MessageBoxes() const { return m_boxes; }
    // The name the next file dialogs answer with ("" cancels); with none
    // queued a file dialog is cancelled.
    void QueueFileName(const std::string& name) { m_fileNames.push_back(name); }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
    const std::vector<WindowEntry>& WindowEntries() const { return m_windowEntries; }
    void ClearMessageBoxes() { m_boxes.clear(); }

    // --- Inspection. ---
    bool HasControl(int id) const { return m_controls.count(id) != 0; }
    ControlKind KindOf(int id) const;
    int CaretOf(int id) const;
    // What a screen reader announces for the control.
    std::string AccessibleName(int id) const;
    std::string AccessibleDescription(int id) const;
    // An operation is running and no modal box of it is open.
    bool Busy() const { return m_depth > 0 && m_boxDepth == 0; }
    const std::string& InterfaceLanguage() const { return m_language; }
    const std::vector<std::string>& AboutEntries() const { return m_aboutEntries; }
    const std::vector<AboutTexts>& AboutBoxes() const { return m_aboutBoxes; }
    const std::vector<std::string>& OpenedUrls() const { return m_openedUrls; }
    bool Ended() const { return m_ended; }
    int EndResult() const { return m_endResult; }
    int TimerPeriod(int timerId) const;
    // Whether a menu item exists and is enabled, and its text.
    const MenuItem* FindMenuItem(int commandId) const;

  private:
    struct Control {
        ControlSpec def;
        std::string text;
        bool checked = false, enabled = true, visible = true;
        int caret = 0;  // byte offset of the caret in an edit's UTF-8 text
        std::string assignedName;
    };
    Control& At(int id);
    const Control& At(int id) const;
    bool IsEdit(const Control& c) const;
    void ChangeText(Control& c, const std::string& text);
    // The toolkit's own handling of a key the hook let through.
    void DefaultKeyHandling(uint8_t vk, int targetId);
    void MoveFocusToNext();
    // Runs an operation now, or after the running one (see DialogSurface).
    void Deliver(std::function<void()> operation);
    void DeliverKey(uint8_t vk, bool autoRepeat);

    std::map<int, Control> m_controls;
    std::vector<int> m_order;  // tab order: table order
    DialogEvents* m_sink = nullptr;
    int m_focus = 0;
    std::string m_title;
    MenuBar m_menu;
    std::vector<std::string> m_aboutEntries;
    std::vector<AboutTexts> m_aboutBoxes;
    std::vector<std::string> m_openedUrls;
    struct Answer {
        MsgBoxResult result;
        std::function<void()> whileOpen;
    };
    std::deque<Answer> m_answers;
    std::deque<std::function<void()>> m_waiting;
    int m_depth = 0;     // operations running (nested only through whileOpen)
    int m_boxDepth = 0;  // modal boxes open
    std::string m_language;
    std::vector<ShownMessageBox> m_boxes;
    std::deque<std::string> m_fileNames;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::vector<WindowEntry> m_windowEntries;
    std::map<int, int> m_timers;
    KeyState m_keys;
    bool m_ended = false;
    int m_endResult = 0;
};

}  // namespace tk
