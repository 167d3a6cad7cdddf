#pragma once
// A clock whose time only moves when told to: by a test, or by a wait of the
// code under test. Deterministic, and a 600 ms wait costs no real time.
//
// The thread that made the clock owns the time a test moves. Every other
// thread (one device's dialog in a parallel batch) runs on a timeline of its
// own, which starts at the owner's time when the thread first looks at the
// clock: devices configured at once each spend their own time, and one's
// 600 ms wait does not pass by under another's 5 ms answer.

#include <map>
#include <mutex>
#include <thread>

#include "base/Clock.h"

namespace sim {

class VirtualClock : public tk::Clock {
  public:
    explicit VirtualClock(tk::LocalDateTime start = {2026, 12, 7, 9, 0, 0, 0});
    tk::LocalDateTime Now() const override;
    int64_t NowMs() const override;
    void WaitUntil(int64_t deadlineMs) override;

    void Advance(int64_t ms);
    // Sets the time of day; the monotonic time keeps running from where it is.
    void SetDateTime(const tk::LocalDateTime& dt);

  private:
    // The calling thread's time; the lock is held.
    int64_t& TimeLocked() const;

    mutable std::mutex m_mutex;
    const std::thread::id m_owner = std::this_thread::get_id();
    int64_t m_baseSeconds = 0;  // seconds since 1970 of the local date at m_baseMs
    int64_t m_baseMs = 0;
    mutable int64_t m_ms = 0;                                // the owner's time
    mutable std::map<std::thread::id, int64_t> m_timelines;  // every other thread's
};

}  // namespace sim
