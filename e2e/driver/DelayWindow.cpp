// Which answer delays the tool's exchange copes with through the real kernel:
// a report the reader sends while no handle is open is lost, so an answer
// must come after the read has opened the device and before it gives up.
// Measurements only; nothing here passes or fails.

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "e2e/driver/Scenarios.h"

namespace e2e {

namespace {

constexpr int DELAYS_MS[] = {0, 5, 10, 20, 50, 100, 200, 300, 400, 500, 600, 700, 900, 1100, 1300};

// The delays that worked, listed, or "none".
std::string List(const std::vector<int>& worked) {
    std::string s;
    for (int d : worked) s += (s.empty() ? "" : ", ") + std::to_string(d);
    return s.empty() ? "none" : s;
}

}  // namespace

void DelayWindow(Context& c) {
    const char* s = "delay-window";
    if (!c.Prepare(s, "acking")) return;
    dev::CHidLink link(c.Port(), c.Watcher());
    link.CheckPresence();
    std::vector<int> worked[2];
    uint8_t seed = 0x80;
    for (int delay : DELAYS_MS) {
        if (!c.Device(s, "delay " + std::to_string(delay))) return;
        std::string line;
        char part[64];
        for (int reads : {1, 2}) {
            const ExchangeOutcome o = Exchange(link, TestFrame(seed++), reads);
            if (o.acknowledged) worked[reads - 1].push_back(delay);
            std::snprintf(part, sizeof part, "  %s %-8s %5.0f ms",
                          reads == 1 ? "one read" : "two reads",
                          o.acknowledged ? "answered" : "lost", o.totalMs);
            line += part;
            // Late answers must not reach the next exchange.
            std::this_thread::sleep_for(std::chrono::milliseconds(delay + 50));
        }
        c.results.Info(s, "answer after " + std::to_string(delay) + " ms:" + line);
    }
    c.results.Info(s, "one read copes with delays (ms): " + List(worked[0]));
    c.results.Info(s, "two reads cope with delays (ms): " + List(worked[1]));
}

}  // namespace e2e
