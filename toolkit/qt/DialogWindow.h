#pragma once
// The main dialog's top-level window. The dialog decides about closing: Esc
// and the close box become its cancel command, and the window closes only
// when the dialog has ended itself. The client area keeps the template's
// size; on a screen too small for it the window shrinks to the screen and
// scrolls, so that every control stays reachable.

#include <QDialog>
#include <functional>

class QMenuBar;
class QScrollArea;

namespace tk {

class DialogWindow : public QDialog {
  public:
    struct Handlers {
        std::function<void()> cancel;  // Esc
        // The close box and Alt+F4; cancel when not set.
        std::function<void()> close;
        std::function<bool()> ended;  // the dialog has ended: closing is allowed
        // A context menu asked for over the dialog's background.
        std::function<void(const QPoint& globalPos)> backgroundMenu;
    };

    explicit DialogWindow(Handlers handlers);

    // Lays the window out: the menu bar on top, below it the client (of a
    // fixed size) inside a scroll area that shows scroll bars only when the
    // window is smaller than the client.
    void SetContents(QMenuBar* menuBar, QWidget* client);
    // The window's inner size with the whole client shown.
    QSize FullSize() const;
    QScrollArea* ScrollArea() const { return m_scroll; }

    // Esc (the dialog's own key handling) ends up here.
    void reject() override;
    // Showing the window first fits it to the screen it appears on.
    void setVisible(bool visible) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void FitToScreen();

    Handlers m_handlers;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QScrollArea* m_scroll = nullptr;
};

}  // namespace tk
