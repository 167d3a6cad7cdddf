#pragma once
// A write with a time limit over a platform call that has none: a hidraw
// write blocks until the USB stack gives up (seconds), whatever the tool may
// wait. The call runs on a thread of its own and the caller has its answer
// within the limit. A call still running then is left to finish on its
// thread, which keeps what the call uses alive; until it has finished,
// further writes through the same gate are refused at once rather than
// queueing behind it.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace dev {

class WriteGate {
  public:
    enum class Result { Written, Failed, TimedOut, Busy };

    WriteGate() = default;
    WriteGate(const WriteGate&) = delete;
    WriteGate& operator=(const WriteGate&) = delete;

    // Runs write (true on success) and waits up to timeoutMs for it. write
    // must own, or share, everything it touches: after a TimedOut it still
    // runs. Busy: an earlier write is still running; write was not called.
    Result Run(std::function<bool()> write, int timeoutMs);
    // Whether a write left running has not finished yet.
    bool Busy() const;
    // Waits until no write is left running (for tests and shutdown).
    void WaitIdle() const;

  private:
    struct Call {
        mutable std::mutex mutex;
        mutable std::condition_variable done;
        bool finished = false;
        bool ok = false;
    };
    std::shared_ptr<Call> m_running;  // the call last left running
};

}  // namespace dev
