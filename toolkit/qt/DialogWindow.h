#pragma once
// The main dialog's top-level window. The dialog decides about closing: Esc
// and the close box become its cancel command, and the window closes only
// when the dialog has ended itself.

#include <QDialog>
#include <functional>

namespace tk {

class DialogWindow : public QDialog {
  public:
    struct Handlers {
        std::function<void()> cancel;  // Esc
        // The close box and Alt+F4; cancel when not set.
        std::function<void()> close;
        std::function<bool()> ended;   // the dialog has ended: closing is allowed
        // A context menu asked for over the dialog's background.
        std::function<void(const QPoint& globalPos)> backgroundMenu;
    };

    explicit DialogWindow(Handlers handlers);

    // Esc (the dialog's own key handling) ends up here.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    Handlers m_handlers;
};

}  // namespace tk
