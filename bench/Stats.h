#pragma once
// Small helpers the benchmarks share: medians, clocks and number formats.

#include <chrono>
#include <string>
#include <vector>

namespace bench {

double Median(std::vector<double> values);

// Seconds of CPU this process has used, user and system together.
double CpuSeconds();

inline double NowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// "12.3 ms", "4.56 µs": a duration in seconds with three significant digits
// in the unit that suits it.
std::string FormatSeconds(double seconds);
std::string FormatRatio(double ratio);

}  // namespace bench
