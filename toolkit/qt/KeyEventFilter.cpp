#include "toolkit/qt/KeyEventFilter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWindow>

#include "toolkit/qt/KeyMapping.h"

namespace tk {
namespace {

// Text that a key press types (what the platform's character message carries).
bool TypesText(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c.category() == QChar::Other_Control) return false;
    return true;
}

}  // namespace

KeyEventFilter::KeyEventFilter(QWidget* dialog, KeyState& keys, std::function<DialogEvents*()> sink,
                               std::function<int()> focusId)
    : m_dialog(dialog),
      m_keys(keys),
      m_sink(std::move(sink)),
      m_focusId(std::move(focusId)),
      m_repeatsShareTimes(QGuiApplication::platformName() == QLatin1String("xcb")) {}

bool KeyEventFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return OnKey(watched, event);
        case QEvent::InputMethod:
            return OnInputMethod(watched, event);
        case QEvent::ShortcutOverride:
            return OnShortcut(watched, event);
        case QEvent::ApplicationDeactivate:
            // Releases that happen while another application has the keyboard
            // never arrive here; no key may stay down because of that.
            m_keys.Clear();
            return false;
        default:
            return false;
    }
}

bool KeyEventFilter::OnKey(QObject* watched, QEvent* event) {
    // A key event reaches its window first and is then passed on to the focus
    // widget and its parents, each pass going through this filter again. Only
    // the window's pass counts, so each key is seen once and before any widget.
    if (!watched->isWindowType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    // Auto-repeat on this platform sends a release before each repeated press;
    // the key is still held, as the asynchronous key state must say. Qt flags
    // the pair only when both have arrived together; on X the key state pairs
    // the others by their equal times.
    if (!press && key->isAutoRepeat()) return false;
    const uint8_t vk = VirtualKeyOf(key->key(), key->nativeVirtualKey());
    const uint64_t time = m_repeatsShareTimes ? key->timestamp() : 0;
    if (vk != 0) {
        if (press) {
            // The repeat of a press the dialog has acted on reaches no one.
            if (!m_keys.Press(vk, key->isAutoRepeat(), time)) return true;
        } else {
            m_keys.Release(vk, time);
        }
    }
    if (!m_dialog || watched != m_dialog->windowHandle()) return false;
    // The key belongs to the widget that had the focus when it was pressed,
    // even when the hook moves the focus (an announcement in the output pane).
    const QPointer<QWidget> target = QApplication::focusWidget();
    // The hook gets the side-independent key, as the platform's key messages carry it.
    const uint8_t hookVk = EitherSideOf(vk);
    if (Hook(press ? KeyEvent::Type::Press : KeyEvent::Type::Release, hookVk, key->isAutoRepeat()))
        return true;
    if (press && TypesText(key->text()) && Hook(KeyEvent::Type::Char, hookVk, key->isAutoRepeat()))
        return true;
    if (!target || target == QApplication::focusWidget()) return false;
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                   key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                   key->isAutoRepeat(), static_cast<quint16>(key->count()), key->device());
    QCoreApplication::sendEvent(target, &copy);
    return true;
}

bool KeyEventFilter::OnShortcut(QObject* watched, QEvent* event) {
    // Qt asks the window whether it takes the key itself before it starts a
    // shortcut; an accepted override lets the key through as a key press.
    if (!m_dialog || watched != m_dialog->windowHandle()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const uint8_t vk = EitherSideOf(VirtualKeyOf(key->key(), key->nativeVirtualKey()));
    if (!Hook(KeyEvent::Type::Shortcut, vk, key->isAutoRepeat())) return false;
    event->accept();
    return true;
}

bool KeyEventFilter::OnInputMethod(QObject* watched, QEvent* event) {
    // Text composed by an input method arrives without key events.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_dialog || !widget || widget->window() != m_dialog) return false;
    const auto* im = static_cast<QInputMethodEvent*>(event);
    if (!TypesText(im->commitString())) return false;
    return Hook(KeyEvent::Type::Char, 0, false);
}

bool KeyEventFilter::Hook(KeyEvent::Type type, uint8_t vk, bool autoRepeat) {
    DialogEvents* sink = m_sink ? m_sink() : nullptr;
    if (!sink) return false;
    KeyEvent ev;
    ev.type = type;
    ev.vk = vk;
    ev.autoRepeat = autoRepeat;
    ev.focusId = m_focusId ? m_focusId() : 0;
    return sink->PreTranslateMessage(ev);
}

}  // namespace tk
