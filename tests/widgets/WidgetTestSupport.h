#pragma once
// What the widget tests share: one offscreen QApplication for the whole
// run, a recording DialogEvents sink, and helpers to answer modal windows.

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/DialogSurface.h"

namespace widgettest {

// The application object, created on first use. It lives until the process
// ends: Qt's global state does not survive a second QApplication well.
inline QApplication& App() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "widget_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Records what the toolkit tells the dialog, in order, as short lines:
// "command 1024", "change 1052", "focus 1052", "press 116 @1052",
// "release 116", "char", "timer 2", "cancel", "about".
class RecordingSink : public tk::DialogEvents {
  public:
    std::vector<std::string> events;
    // Decides whether the hook consumes a key event; none consumes by default.
    std::function<bool(const tk::KeyEvent&)> consume;
    // Runs inside OnCommand (for commands that act on the surface).
    std::function<void(int)> onCommand;
    std::function<void()> onCancel;
    std::function<void(int)> onChange;

    void OnCommand(int id) override {
        events.push_back("command " + std::to_string(id));
        if (onCommand) onCommand(id);
    }
    void OnEditChange(int id) override {
        events.push_back("change " + std::to_string(id));
        if (onChange) onChange(id);
    }
    void OnEditFocus(int id) override { events.push_back("focus " + std::to_string(id)); }
    bool PreTranslateMessage(const tk::KeyEvent& ev) override {
        switch (ev.type) {
            case tk::KeyEvent::Type::Press:
                events.push_back("press " + std::to_string(ev.vk) + " @" +
                                 std::to_string(ev.focusId));
                break;
            case tk::KeyEvent::Type::Release:
                events.push_back("release " + std::to_string(ev.vk));
                break;
            case tk::KeyEvent::Type::Char:
                events.push_back("char");
                break;
            default:
                break;
        }
        return consume && consume(ev);
    }
    void OnTimer(int timerId) override { events.push_back("timer " + std::to_string(timerId)); }
    void OnCancel() override {
        events.push_back("cancel");
        if (onCancel) onCancel();
    }
    void OnAboutCommand() override { events.push_back("about"); }

    size_t Count(const std::string& event) const {
        return static_cast<size_t>(std::count(events.begin(), events.end(), event));
    }
};

// Lets the event loop turn until the queued operations (clicks, commands,
// the close box) have run, as they do once the user's action is over.
inline void Settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

// Creates the application before the members of a test fixture need it.
struct AppFirst {
    AppFirst() { App(); }
};

// Runs action on the modal window that opens next, once the event loop
// turns (the modal window's own loop). The window is handed over as the
// active modal widget.
inline void WhenModalOpens(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0,
                       [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

// The button of a window whose text is text, nullptr when there is none.
inline QAbstractButton* ButtonWithText(QWidget* window, const QString& text) {
    if (!window) return nullptr;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->text().remove(QLatin1Char('&')) == text) return b;
    return nullptr;
}

}  // namespace widgettest
