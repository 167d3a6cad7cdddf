#pragma once
// A keyboard on the X server the tests run on: keys go down and up through
// the server's test extension, so the application receives exactly what a
// real keyboard gives it (the server's own auto-repeat included).

#include <xcb/xcb.h>

#include <QObject>
#include <QPoint>
#include <functional>
#include <map>

class QWidget;

namespace xtest {

class XKeyboard : public QObject {
  public:
    XKeyboard();  // connects to $DISPLAY; watches the application's key events
    ~XKeyboard() override;
    bool Connected() const { return m_conn != nullptr; }

    // The key code that types keysym on the server's keyboard, 0 for none.
    xcb_keycode_t KeyCodeOf(xcb_keysym_t keysym) const;
    void Down(xcb_keysym_t keysym);
    void Up(xcb_keysym_t keysym);
    // Down and up.
    void Tap(xcb_keysym_t keysym);

    // Turns the event loop as an idle application does, woken by each event
    // as it arrives, until done() holds; false after timeoutMs.
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);
    // Presses of a key that reached any window of the application so far.
    int PressesSeen(xcb_keysym_t keysym) const;
    // Waits until the application has handled every event the server sent it
    // so far: moves the pointer over window (an event queued behind them) and
    // turns the event loop until the move arrives. False after timeoutMs.
    bool Sync(QWidget* window, int timeoutMs = 5000);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Fake(uint8_t type, xcb_keycode_t code);

    xcb_connection_t* m_conn = nullptr;
    xcb_window_t m_root = 0;
    xcb_keycode_t m_minCode = 0;
    int m_perCode = 0;
    std::vector<xcb_keysym_t> m_map;
    std::map<quint32, int> m_presses;  // by key code
    QPoint m_lastMove{-1, -1};
    int m_syncs = 0;
};

}  // namespace xtest
