#include "xserver/XKeyboard.h"

#include <xcb/xtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace xtest {

XKeyboard::XKeyboard() {
    m_conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_conn)) {
        xcb_disconnect(m_conn);
        m_conn = nullptr;
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(m_conn);
    m_root = xcb_setup_roots_iterator(setup).data->root;
    m_minCode = setup->min_keycode;
    const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        m_conn, xcb_get_keyboard_mapping(m_conn, m_minCode, count), nullptr);
    if (map) {
        m_perCode = map->keysyms_per_keycode;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        m_map.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(map));
        std::free(map);
    }
    qApp->installEventFilter(this);
}

XKeyboard::~XKeyboard() {
    qApp->removeEventFilter(this);
    if (m_conn) xcb_disconnect(m_conn);
}

xcb_keycode_t XKeyboard::KeyCodeOf(xcb_keysym_t keysym) const {
    // The key's unshifted symbol, as a keyboard layout names its keys.
    for (size_t i = 0; m_perCode > 0 && i < m_map.size(); i += static_cast<size_t>(m_perCode))
        if (m_map[i] == keysym)
            return static_cast<xcb_keycode_t>(m_minCode + i / static_cast<size_t>(m_perCode));
    return 0;
}

void XKeyboard::Fake(uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(m_conn, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(m_conn);
}

void XKeyboard::Down(xcb_keysym_t keysym) {
    Fake(XCB_KEY_PRESS, KeyCodeOf(keysym));
}

void XKeyboard::Up(xcb_keysym_t keysym) {
    Fake(XCB_KEY_RELEASE, KeyCodeOf(keysym));
}

void XKeyboard::Tap(xcb_keysym_t keysym) {
    Down(keysym);
    Up(keysym);
}

int XKeyboard::PressesSeen(xcb_keysym_t keysym) const {
    const auto it = m_presses.find(KeyCodeOf(keysym));
    return it == m_presses.end() ? 0 : it->second;
}

bool XKeyboard::Sync(QWidget* window, int timeoutMs) {
    // Two points in turn, so that each sync is a move the server reports.
    const QPoint target = window->mapToGlobal(window->rect().center()) + QPoint(m_syncs++ % 2, 0);
    xcb_test_fake_input(m_conn, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root,
                        static_cast<int16_t>(target.x()), static_cast<int16_t>(target.y()), 0);
    xcb_flush(m_conn);
    return WaitFor([&] { return m_lastMove == target; }, timeoutMs);
}

bool XKeyboard::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    // Not in slices with sleeps between them: events that pile up meanwhile
    // reach the application together, which the server's never do.
    QTimer wake;  // a bound on each wait for the next event
    wake.start(20);
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool XKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWindowType()) return false;
    if (event->type() == QEvent::KeyPress)
        ++m_presses[static_cast<QKeyEvent*>(event)->nativeScanCode()];
    else if (event->type() == QEvent::MouseMove)
        m_lastMove = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    return false;
}

}  // namespace xtest
