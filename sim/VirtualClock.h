#pragma once
// A clock whose time only moves when told to: by a test, or by a wait of the
// code under test. Deterministic, and a 600 ms wait costs no real time.

#include "toolkit/Clock.h"

namespace sim {

class VirtualClock : public tk::Clock {
  public:
    explicit VirtualClock(tk::LocalDateTime start = {2026, 12, 7, 9, 0, 0, 0});
    tk::LocalDateTime Now() const override;
    int64_t NowMs() const override { return m_ms; }
    void WaitUntil(int64_t deadlineMs) override;

    void Advance(int64_t ms) { m_ms += ms; }
    // Sets the time of day; the monotonic time keeps running from where it is.
    void SetDateTime(const tk::LocalDateTime& dt);

  private:
    int64_t m_baseSeconds = 0;  // seconds since 1970 of the local date at m_baseMs
    int64_t m_baseMs = 0;
    int64_t m_ms = 0;
};

}  // namespace sim
