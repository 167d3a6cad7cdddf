#include "sim/VirtualClock.h"

#include <chrono>

namespace sim {

VirtualClock::VirtualClock(tk::LocalDateTime start) {
    SetDateTime(start);
}

int64_t VirtualClock::NowMs() const {
    std::lock_guard lock(m_mutex);
    return m_ms;
}

void VirtualClock::Advance(int64_t ms) {
    std::lock_guard lock(m_mutex);
    m_ms += ms;
}

std::unique_ptr<VirtualClock> VirtualClock::Fork() const {
    auto fork = std::make_unique<VirtualClock>();
    std::lock_guard lock(m_mutex);
    fork->m_baseSeconds = m_baseSeconds;
    fork->m_baseMs = m_baseMs;
    fork->m_ms = m_ms;
    return fork;
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
    if (deadlineMs > m_ms) m_ms = deadlineMs;
}

}  // namespace sim
