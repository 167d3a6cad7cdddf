#pragma once
// The dialog toolkit the main dialog is written against. Every control is
// addressed by its numeric id, as the dialog's control table does. qt/,
// win32/ and web/ build real widgets (Qt's, Win32's, a page's HTML elements),
// headless/ keeps the same state in memory for tests. Texts cross this
// interface as UTF-8.
//
// Notifications from the dialog's own calls go back to the DialogEvents sink
// synchronously, exactly when the real widgets would raise them: SetText on an
// edit raises OnEditChange before it returns, SetFocus on an edit raises
// OnEditFocus.
//
// What the user or a device starts (a click, a menu command, the close box, an
// accessibility action, a device change through Post) is an operation. Every
// toolkit delivers operations one at a time and in order, never from inside a
// widget's own signal or handler: one that arrives while another runs (also
// while a modal box of that one is open) waits until it has returned. While an
// operation runs the window shows that it is busy (busy cursor), except over
// a modal box. Typing, focus changes and the timer are not operations and are
// delivered as they happen.
//
// Keys: the pre-translation hook sees each key first; a key it lets through
// goes to the control that had the focus when the key was pressed, even when
// the hook moved the focus. The auto-repeat of a key the dialog has acted on
// is the same press and reaches no one (KeyState::Press). The dialog has no
// default button unless its table names one: Enter outside a multi-line edit
// does nothing.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/ControlSpec.h"
#include "toolkit/KeyState.h"

namespace tk {

enum class MsgBoxButtons { Ok, YesNo };
enum class MsgBoxResult { Ok, Yes, No };

struct AboutTexts {
    std::string title, okButton, line1, line2;
};

// What a file dialog asks for. Texts are UTF-8.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string filterName;     // "Profiles": offered with the extension's pattern
    std::string extension;      // without the dot; a saved name without one gets it
    std::string suggestedName;  // Save: the name the dialog starts with
};

// An entry of the window's own menu, after the About entry: a command, or a
// submenu of further entries.
struct WindowEntry {
    int commandId = 0;  // delivered as OnCommand(commandId); 0 for a submenu
    std::string text;
    std::string shortcut;  // "Ctrl+S", empty for none
    bool enabled = true;
    // Shows whether it is checked; a submenu whose entries are all checkable
    // is one choice among them (radio marks where the platform has them).
    bool checkable = false;
    bool checked = false;
    std::vector<WindowEntry> submenu;  // the submenu's entries, titled text
};

// A key event as the message pre-translation hook sees it. Shortcut comes
// before the Press of a key that would start a window entry's shortcut: the
// hook returning true keeps the shortcut from starting, and the key then
// comes as an ordinary Press.
struct KeyEvent {
    enum class Type { Press, Release, Char, Shortcut, Other };
    Type type = Type::Other;
    uint8_t vk = 0;  // virtual key of Press and Release
    bool autoRepeat = false;
    int focusId = 0;  // control with the keyboard focus, 0 for none
};

// The dialog's side: what the toolkit tells it.
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    // Click on a push button, check box or radio button (after the toolkit has
    // changed its check state), or a menu command.
    virtual void OnCommand(int id) = 0;
    virtual void OnEditChange(int id) = 0;
    virtual void OnEditFocus(int id) = 0;
    // Sees every event before any widget does; true consumes the event (for
    // Shortcut: the shortcut does not start).
    virtual bool PreTranslateMessage(const KeyEvent& ev) = 0;
    virtual void OnTimer(int timerId) = 0;
    // Esc, close box, Alt+F4.
    virtual void OnCancel() = 0;
    // The About entry that start-up added.
    virtual void OnAboutCommand() = 0;
};

class DialogSurface {
  public:
    virtual ~DialogSurface() = default;

    virtual void SetEventSink(DialogEvents* sink) = 0;

    // Control text. For an edit, SetText raises OnEditChange before it returns
    // (also when the text does not change, as the platform's edits do).
    virtual void SetText(int id, const std::string& text) = 0;
    virtual std::string GetText(int id) const = 0;
    // Adds text at the end of an edit without rewriting what it holds; raises
    // OnEditChange like SetText.
    virtual void AppendText(int id, const std::string& text) = 0;
    // Puts the caret of an edit after its last character.
    virtual void MoveCaretToEnd(int id) = 0;

    virtual bool IsChecked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual bool IsVisible(int id) const = 0;
    virtual void SetVisible(int id, bool visible) = 0;

    // Names a control for screen readers in place of the name its caption or
    // its label gives it (for the controls whose name follows the language);
    // an empty name goes back to that name.
    virtual void SetAccessibleName(int id, const std::string& name) = 0;

    // Gives the control the keyboard focus; an edit raises OnEditFocus when
    // it did not have the focus before.
    virtual void SetFocus(int id) = 0;
    virtual int FocusedControl() const = 0;

    // Modal message box owned by the dialog, in the dialog's font and with
    // the toolkit's button texts in the interface language.
    virtual MsgBoxResult MessageBox(const std::string& text, const std::string& caption,
                                    MsgBoxButtons buttons) = 0;

    virtual void SetWindowTitle(const std::string& title) = 0;
    virtual std::string WindowTitle() const = 0;
    virtual void SetMenuBar(const MenuBar& bar) = 0;
    virtual MenuBar CurrentMenuBar() const = 0;
    // The About entry of the window's own menu (the system menu on Windows).
    virtual void AddAboutEntry(const std::string& text) = 0;
    virtual void ShowAboutBox(const AboutTexts& texts) = 0;
    // Replaces the entries that follow the About entry in the window's own
    // menu (the system menu on Windows, the context menus on Linux). An
    // entry's shortcut works whenever the window is active and the hook lets
    // it (KeyEvent::Type::Shortcut), and both deliver
    // OnCommand(commandId); a disabled entry is greyed and its shortcut does
    // nothing. Choosing a checkable entry leaves its check mark as it was:
    // the dialog sets the entries anew.
    virtual void SetWindowEntries(const std::vector<WindowEntry>& entries) = 0;
    // Asks for a file name with the platform's file dialog, owned by the
    // dialog (a modal loop the toolkit owns). Returns the name as the file
    // system's bytes, or an empty string when the user cancels. A Save
    // dialog has asked before replacing an existing file.
    virtual std::string AskFileName(const FileDialogRequest& request) = 0;

    // Periodic timer delivered to OnTimer; never stopped.
    virtual void StartTimer(int timerId, int periodMs) = 0;
    // Runs the dialog's event loop until EndDialog; returns its result.
    virtual int RunModal() = 0;
    // Closes the dialog; the event loop ends.
    virtual void EndDialog(int result) = 0;
    // Opens a link in the platform's default browser and returns at once.
    virtual void OpenUrl(const std::string& url) = 0;

    // Asynchronous key state kept up to date from the toolkit's key events.
    virtual KeyState& Keys() = 0;

    // Runs a notification that reaches the dialog from outside the window (a
    // device change) as an operation: at once when none runs, otherwise after
    // the running one and those already waiting, in order.
    virtual void Post(std::function<void()> notification) = 0;
    // The language of the toolkit's own texts (message box buttons, the edits'
    // standard context menu), as a BCP 47 tag: "zh-CN", "en". The dialog
    // starts in DialogSpec::language.
    virtual void SetInterfaceLanguage(const std::string& tag) = 0;
};

}  // namespace tk
