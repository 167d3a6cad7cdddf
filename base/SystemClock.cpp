#include <chrono>
#include <ctime>
#include <thread>

#include "base/Clock.h"

namespace tk {

LocalDateTime SystemClock::Now() const {
    const std::time_t t = std::time(nullptr);
    std::tm tmv{};
    localtime_r(&t, &tmv);
    return LocalDateTime{tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday,    tmv.tm_hour,
                         tmv.tm_min,         tmv.tm_sec,     tmv.tm_wday + 1};
}

int64_t SystemClock::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::WaitUntil(int64_t deadlineMs) {
    const int64_t now = NowMs();
    if (deadlineMs > now) std::this_thread::sleep_for(std::chrono::milliseconds(deadlineMs - now));
}

}  // namespace tk
