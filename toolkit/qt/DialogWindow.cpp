#include "toolkit/qt/DialogWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace tk {
namespace {

// What the window may not take from the screen's free area before it is
// mapped and the window manager has told its frame: the title bar and the
// borders, as the style draws them.
QSize FrameAllowance(const QWidget* window) {
    const QStyle* style = window->style();
    const int border = 2 * style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    return {border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border};
}

}  // namespace

DialogWindow::DialogWindow(Handlers handlers) : m_handlers(std::move(handlers)) {}

void DialogWindow::SetContents(QMenuBar* menuBar, QWidget* client) {
    m_menuBar = menuBar;
    m_client = client;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("dialogScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Tab goes from control to control; the area itself is no stop.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    // The dialog's background shows through, as it would without scrolling.
    m_scroll->setBackgroundRole(QPalette::Window);
    m_scroll->setWidget(client);
    m_scroll->viewport()->setAutoFillBackground(false);
    client->setAutoFillBackground(false);
    layout->addWidget(m_scroll);
}

QSize DialogWindow::FullSize() const {
    if (!m_client) return sizeHint();
    const int bar = m_menuBar ? m_menuBar->heightForWidth(m_client->width()) : 0;
    const int barHeight = bar > 0 ? bar : (m_menuBar ? m_menuBar->sizeHint().height() : 0);
    return {m_client->width(), m_client->height() + barHeight};
}

void DialogWindow::FitToScreen() {
    const QSize full = FullSize();
    QSize room = full;
    if (const QScreen* s = screen()) room = s->availableGeometry().size() - FrameAllowance(this);
    QSize size = full.boundedTo(room);
    // A scroll bar in one direction takes room from the other.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (size.width() < full.width()) size.setHeight(std::min(full.height() + bar, room.height()));
    if (size.height() < full.height()) size.setWidth(std::min(full.width() + bar, room.width()));
    // Larger than the whole client there is nothing more to show.
    setMaximumSize(size.expandedTo(full));
    resize(size);
}

void DialogWindow::setVisible(bool visible) {
    if (visible && !isVisible() && m_client) FitToScreen();
    QDialog::setVisible(visible);
}

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
