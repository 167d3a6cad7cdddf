#pragma once
// Hands every key event of the dialog's window to the dialog's
// pre-translation hook before any widget sees it, and keeps the asynchronous
// key state up to date from the key events of every window.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "toolkit/DialogSurface.h"

namespace tk {

class KeyEventFilter : public QObject {
  public:
    // dialog: the window whose keys the hook sees. sink and focusId are asked
    // at each event: the dialog's sink (may be null) and its focused control.
    KeyEventFilter(QWidget* dialog, KeyState& keys, std::function<DialogEvents*()> sink,
                   std::function<int()> focusId);

    // Installed on the application object, so it runs before the event
    // filters and handlers of every window and widget.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool OnKey(QObject* watched, QEvent* event);
    bool OnInputMethod(QObject* watched, QEvent* event);
    bool OnShortcut(QObject* watched, QEvent* event);
    bool Hook(KeyEvent::Type type, uint8_t vk, bool autoRepeat);

    QPointer<QWidget> m_dialog;
    KeyState& m_keys;
    std::function<DialogEvents*()> m_sink;
    std::function<int()> m_focusId;
    // An X server sends its auto-repeat as a release and a press of the same
    // time; elsewhere (Wayland, synthesized events) equal times mean nothing.
    const bool m_repeatsShareTimes;
};

}  // namespace tk
