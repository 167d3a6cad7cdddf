#include "bench/Stats.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double CpuSeconds() {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) / 1e9;
}

std::string FormatSeconds(double seconds) {
    const char* unit = "s";
    double value = seconds;
    if (seconds < 1e-3) {
        unit = "µs";
        value = seconds * 1e6;
    } else if (seconds < 1) {
        unit = "ms";
        value = seconds * 1e3;
    }
    char text[32];
    std::snprintf(text, sizeof text,
                  value < 10    ? "%.2f %s"
                  : value < 100 ? "%.1f %s"
                                : "%.0f %s",
                  value, unit);
    return text;
}

std::string FormatRatio(double ratio) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", ratio);
    return text;
}

}  // namespace bench
