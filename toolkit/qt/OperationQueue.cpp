#include "toolkit/qt/OperationQueue.h"

#include <QApplication>
#include <QCursor>

namespace tk {

OperationQueue::OperationQueue() = default;

OperationQueue::~OperationQueue() = default;

void OperationQueue::Post(std::function<void()> operation) {
    m_waiting.push_back(std::move(operation));
    if (!m_running) Schedule();
}

void OperationQueue::Schedule() {
    if (m_scheduled) return;
    m_scheduled = true;
    QMetaObject::invokeMethod(
        &m_context, [this] { RunNext(); }, Qt::QueuedConnection);
}

void OperationQueue::RunNext() {
    m_scheduled = false;
    if (m_running) return;
    // What waits runs now, in order, also what the operations post meanwhile:
    // a burst of device events never piles up behind the event loop.
    m_running = true;
    {
        BusyCursor busy;
        while (!m_waiting.empty()) {
            std::function<void()> operation = std::move(m_waiting.front());
            m_waiting.pop_front();
            operation();
        }
    }
    m_running = false;
}

BusyCursor::BusyCursor() {
    // The platform sends a cursor change to the display at once.
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

NormalCursor::NormalCursor() {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

NormalCursor::~NormalCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace tk
