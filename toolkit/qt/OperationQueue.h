#pragma once
// Delivers the dialog's operations (what the user or a device starts: clicks,
// menu commands, the close box, device changes) one at a time, from the event
// loop, in order. A widget's signal only queues its operation, so dialog code
// never runs inside a button's, an action's or a menu's own emission, and an
// operation that arrives while another runs -- also from a modal box's loop
// inside that one -- waits for it. The busy cursor shows while one runs.

#include <QObject>
#include <deque>
#include <functional>

namespace tk {

class OperationQueue {
  public:
    OperationQueue();
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    // Queues an operation; it runs once the event loop turns and no other
    // operation is running.
    void Post(std::function<void()> operation);
    bool Running() const { return m_running; }
    bool Idle() const { return !m_running && m_waiting.empty(); }
    // Drops what waits (the dialog has gone).
    void Clear() { m_waiting.clear(); }

  private:
    void Schedule();
    void RunNext();

    QObject m_context;  // queued calls die with the queue
    std::deque<std::function<void()>> m_waiting;
    bool m_running = false;
    bool m_scheduled = false;
};

// Shows the busy cursor for its lifetime.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The normal cursor for its lifetime (over a modal box inside an operation).
class NormalCursor {
  public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;
};

}  // namespace tk
