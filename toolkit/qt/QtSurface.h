#pragma once
// The dialog toolkit over Qt 6 Widgets: a QDialog built from the control
// table, with its menu bar, message boxes, About box, timers and the key hook.
// The facade over a few owners: the control widgets and their notifications
// (here), the operation queue (OperationQueue), every modal loop
// (ModalRunner), the menus (DialogMenus), focus and key delivery
// (KeyEventFilter); accessibility actions are clicks (ConnectButton).
// Programmatic changes notify synchronously and exactly once, and so does
// every user edit; clicks, commands and the close box are queued operations,
// as DialogSurface promises.

#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/DialogSurface.h"
#include "toolkit/qt/ControlBuilder.h"
#include "toolkit/qt/DialogMenus.h"
#include "toolkit/qt/DialogWindow.h"
#include "toolkit/qt/KeyEventFilter.h"
#include "toolkit/qt/ModalRunner.h"
#include "toolkit/qt/OperationQueue.h"
#include "toolkit/qt/QtTranslations.h"

class QMenu;

namespace tk {

class WindowEntryActions;

class QtSurface : public DialogSurface {
  public:
    // Needs a QApplication. Builds the window hidden; RunModal shows it.
    explicit QtSurface(const DialogSpec& def);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

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
    MenuBar CurrentMenuBar() const override { return m_menus->Current(); }
    void AddAboutEntry(const std::string& text) override { m_menus->AddAboutEntry(text); }
    void ShowAboutBox(const AboutTexts& texts) override;
    // Both in WindowEntries.cpp.
    void SetWindowEntries(const std::vector<WindowEntry>& entries) override;
    std::string AskFileName(const FileDialogRequest& request) override;
    void StartTimer(int timerId, int periodMs) override;
    int RunModal() override;
    void EndDialog(int result) override;
    void OpenUrl(const std::string& url) override;
    KeyState& Keys() override { return m_keys; }
    void Post(std::function<void()> notification) override;
    void SetInterfaceLanguage(const std::string& tag) override;

    // The widgets, for tests and for main.cpp.
    QDialog* Dialog() const { return m_dialog.get(); }
    DialogWindow* Window() const { return m_dialog.get(); }
    QWidget* Widget(int id) const;
    QMenuBar* MenuBarWidget() const { return m_menuBar; }
    // Chooses the menu bar's command id as the user would; false when the
    // bar has no such command or it is greyed.
    bool TriggerMenuCommand(int id) { return m_menus->Trigger(id); }
    // The window's own menu (the About entries), as the dialog's background
    // and the output pane offer it; the caller owns it.
    QMenu* NewWindowMenu(QWidget* parent) { return m_menus->NewWindowMenu(parent); }
    // The context menu open now, nullptr for none.
    QMenu* OpenContextMenu() const { return m_menus->OpenContextMenu(); }
    // Every modal window runs here; tests answer the next ones from inside
    // their loops.
    ModalRunner& Modal() { return m_modal; }
    // An operation is running (queued ones wait).
    bool OperationRunning() const { return m_operations.Running(); }
    // Turns the event loop until the queued operations have run, as after a
    // user's action (for tests and the screenshot tour). Does nothing from
    // inside an operation.
    void FinishOperations();

  private:
    struct Control {
        ControlSpec def;
        QWidget* widget = nullptr;
        std::string caption;  // exactly as last set; widgets show it adapted
        std::string assignedName;
    };

    Control& At(int id);
    const Control& At(int id) const;
    static bool IsEdit(const Control& c);
    void ConnectNotifications(Control& c);
    void ConnectButton(Control& c);
    void OnFocusChanged(QWidget* now);
    void NotifyChange(int id);
    void UpdateAccessibleName(const Control& c);
    void ParkFocus();
    bool Ended() const { return m_ended; }

    std::unique_ptr<DialogWindow> m_dialog;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    std::map<int, Control> m_controls;
    std::map<int, std::vector<int>> m_namedBy;  // caption id -> controls it names
    std::map<int, QButtonGroup*> m_radioGroups;
    std::map<int, QTimer*> m_timers;
    OperationQueue m_operations;
    ModalRunner m_modal;
    QtTranslations m_translations;
    std::unique_ptr<DialogMenus> m_menus;
    std::unique_ptr<WindowEntryActions> m_windowEntries;
    std::unique_ptr<KeyEventFilter> m_keyFilter;
    KeyState m_keys;
    DialogEvents* m_sink = nullptr;
    int m_focusId = 0;
    int m_silent = 0;      // programmatic text changes under way
    int m_focusQuiet = 0;  // focus moves that the dialog did not ask for
    int m_programmaticChecks = 0;
    std::set<int> m_toggledWithoutClick;  // buttons toggled, no click seen yet
    std::string m_title;
    bool m_ended = false;
    int m_endResult = 0;
};

}  // namespace tk
