#include "sim/VirtualClock.h"

#include <chrono>

namespace sim {

VirtualClock::VirtualClock(tk::LocalDateTime start) {
    SetDateTime(start);
}

int64_t& VirtualClock::TimeLocked() const {
    if (std::this_thread::get_id() == m_owner) return m_ms;
    return m_timelines.try_emplace(std::this_thread::get_id(), m_ms).first->second;
}

int64_t VirtualClock::NowMs() const {
    std::lock_guard lock(m_mutex);
    return TimeLocked();
}

void VirtualClock::Advance(int64_t ms) {
    std::lock_guard lock(m_mutex);
    TimeLocked() += ms;
}

void VirtualClock::SetDateTime(const tk::LocalDateTime& dt) {
    using namespace std::chrono;
    const sys_days d =
        year_month_day{year{dt.year}, month{unsigned(dt.month)}, day{unsigned(dt.day)}};
    m_baseSeconds =
        d.time_since_epoch().count() * 86400LL + dt.hour * 3600 + dt.minute * 60 + dt.second;
    std::lock_guard lock(m_mutex);
    m_baseMs = m_ms;
}

tk::LocalDateTime VirtualClock::Now() const {
    using namespace std::chrono;
    const int64_t secs = m_baseSeconds + (NowMs() - m_baseMs) / 1000;
    const int64_t days = secs >= 0 ? secs / 86400 : (secs - 86399) / 86400;
    const int64_t rest = secs - days * 86400;
    const sys_days d{std::chrono::days{days}};
    const year_month_day ymd{d};
    return tk::LocalDateTime{int(ymd.year()),
                             int(unsigned(ymd.month())),
                             int(unsigned(ymd.day())),
                             int(rest / 3600),
                             int(rest / 60 % 60),
                             int(rest % 60),
                             int(weekday{d}.c_encoding()) + 1};
}

void VirtualClock::WaitUntil(int64_t deadlineMs) {
    std::lock_guard lock(m_mutex);
    int64_t& now = TimeLocked();
    if (deadlineMs > now) now = deadlineMs;
}

}  // namespace sim
