#pragma once
// A clock whose time only moves when told to: by a test, or by a wait of the
// code under test. Deterministic, and a 600 ms wait costs no real time. Safe
// to use from several threads; sessions that run beside each other (the
// devices of a parallel batch) each take a fork, a timeline of their own, so
// that one's 600 ms wait does not pass by under another's 5 ms answer.

#include <memory>
#include <mutex>

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
    // A clock of its own that starts at this one's time (and time of day) and
    // moves only by its own waits.
    std::unique_ptr<VirtualClock> Fork() const;

  private:
    mutable std::mutex m_mutex;
    int64_t m_baseSeconds = 0;  // seconds since 1970 of the local date at m_baseMs
    int64_t m_baseMs = 0;
    int64_t m_ms = 0;
};

}  // namespace sim
