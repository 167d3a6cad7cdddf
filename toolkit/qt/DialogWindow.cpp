#include "toolkit/qt/DialogWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>

namespace tk {

DialogWindow::DialogWindow(Handlers handlers) : m_handlers(std::move(handlers)) {}

void DialogWindow::reject() {
    if (m_handlers.cancel)
        m_handlers.cancel();
    else
        QDialog::reject();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (!m_handlers.ended || m_handlers.ended()) {
        event->accept();
        return;
    }
    if (m_handlers.close)
        m_handlers.close();
    else if (m_handlers.cancel)
        m_handlers.cancel();
    // The command may have ended the dialog (the exit question's Yes).
    if (m_handlers.ended())
        event->accept();
    else
        event->ignore();
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_handlers.backgroundMenu) {
        event->ignore();
        return;
    }
    m_handlers.backgroundMenu(event->globalPos());
    event->accept();
}

}  // namespace tk
