#pragma once
// Time of day and the passing of time. The tool uses the system clock; tests
// and virtual readers use a virtual clock whose time moves only when a wait
// moves it, so a 600 ms read timeout costs no real time.

#include <cstdint>

namespace tk {

struct LocalDateTime {
    int year = 2000, month = 1, day = 1;  // month 1..12
    int hour = 0, minute = 0, second = 0;
    int weekday = 1;  // 1 = Sunday .. 7 = Saturday
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
    // Monotonic milliseconds since an arbitrary origin.
    virtual int64_t NowMs() const = 0;
    // Returns once NowMs() >= deadlineMs.
    virtual void WaitUntil(int64_t deadlineMs) = 0;
};

// The machine's local time; waits really sleep.
class SystemClock : public Clock {
  public:
    LocalDateTime Now() const override;
    int64_t NowMs() const override;
    void WaitUntil(int64_t deadlineMs) override;
};

}  // namespace tk
