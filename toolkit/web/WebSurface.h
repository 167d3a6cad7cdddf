#pragma once
// The dialog toolkit over the page's DOM: HTML elements placed from the
// control table in dialog units of the page's font, the menu bar, the
// window's own menu as a context menu, modal boxes in the page, timers, focus
// and key capture from keyboard events. The DOM side is the small script
// dom_toolkit.js; this side keeps the contract's rules.
//
// The page has one thread and no nested event loop of its own: every loop the
// toolkit owns (the dialog's, a message box's, a file dialog's) waits for the
// browser through Asyncify (WaitForPage), so the dialog's synchronous calls
// work unchanged. Operations run only from the dialog's loop, one at a time;
// while one runs (outside a modal box) the page blocks the mouse over the
// dialog, shows the busy cursor and holds keys back until it has returned,
// as a window whose thread is busy does.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/DialogSurface.h"
#include "toolkit/web/WebDialogUnits.h"

namespace tk {

class WebSurface : public DialogSurface {
  public:
    // Builds the dialog in the page element with id "dialog".
    explicit WebSurface(const DialogSpec& def);
    ~WebSurface() override;
    WebSurface(const WebSurface&) = delete;
    WebSurface& operator=(const WebSurface&) = delete;

    // The surface the page's events reach (one dialog a page).
    static WebSurface* Current();

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
    std::string WindowTitle() const override { return m_title; }
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

    // --- What the page reports (dom_toolkit.js through WebEvents.cpp). ---
    void OnClicked(int id);
    void OnMenuCommand(int commandId);
    void OnWindowEntry(int commandId);
    void OnAboutEntry();
    void OnInput(int id);
    void OnFocusIn(int id);
    // A key of the dialog's window; returns true when the page must not act
    // on it (the hook consumed it, a window entry's shortcut started, or it
    // repeats a press already acted on). shortcut: the key as the entries'
    // shortcuts spell it ("Ctrl+S"), empty when it is none.
    bool OnKey(bool press, uint8_t vk, bool autoRepeat, bool typesText,
               const std::string& shortcut);
    void OnCloseRequest();
    void OnTimer(int timerId);
    // The answer of the open modal box: a MsgBoxResult, or for a file dialog
    // the file name ("" for cancel).
    void OnBoxAnswer(int answer, const std::string& fileName);
    // Every key released: the page lost the keyboard.
    void OnBlur() { m_keys.Clear(); }

    // An operation is running and no modal box of it is open.
    bool Busy() const { return m_running && m_boxDepth == 0; }
    int BoxesShown() const { return m_boxesShown; }
    // No operation runs or waits: the page is as a user's next action finds it.
    bool Idle() const { return !m_running && m_waiting.empty(); }
    // Runs the operations that wait, as the dialog's loop does between the
    // page's events (for tests that drive the page without the loop).
    void RunWaiting();
    // Hands the files written to the downloads folder to the browser.
    static constexpr const char* DOWNLOADS_DIR = "/downloads";

  private:
    struct Control {
        ControlSpec def;
        std::string caption;
        std::string assignedName;
    };
    Control& At(int id);
    const Control& At(int id) const;
    static bool IsEdit(const Control& c);
    void UpdateAccessibleName(const Control& c);
    void UpdateBusy();
    void DeliverDownloads();
    // Waits for the page until the modal box it shows has an answer.
    void WaitForAnswer();
    std::string MenuJson() const;
    std::string WindowEntriesJson() const;

    std::map<int, Control> m_controls;
    std::map<int, std::vector<int>> m_namedBy;  // caption id -> controls it names
    DialogEvents* m_sink = nullptr;
    int m_focusId = 0;
    std::string m_title;
    MenuBar m_menu;
    std::vector<std::string> m_aboutEntries;
    std::vector<WindowEntry> m_windowEntries;
    std::string m_language;
    KeyState m_keys;
    std::deque<std::function<void()>> m_waiting;
    bool m_running = false;
    int m_boxDepth = 0;
    int m_boxesShown = 0;
    bool m_answered = false;
    int m_answer = 0;
    std::string m_answerName;
    bool m_ended = false;
    int m_endResult = 0;
    BaseUnits m_units;
};

}  // namespace tk
