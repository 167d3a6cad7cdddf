// Which answer delays the tool copes with through the real kernel: a report
// the reader sends while no handle is open is lost, so an answer must come
// after the read has opened the device and before it gives up. Set Device
// runs against a reader answering after each delay, once with one read and
// once with "Computer slow" ticked (two reads). Measurements only; nothing
// here passes or fails.

#include <cstdio>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/reader/ReaderTexts.h"
#include "e2e/driver/DialogSession.h"
#include "e2e/driver/Scenarios.h"

namespace e2e {

namespace {

constexpr int DELAYS_MS[] = {0,   2,   5,   10,  20,  50,   100,  200, 400,
                             550, 600, 650, 700, 900, 1100, 1200, 1300};

// The delays that worked, listed, or "none".
std::string List(const std::vector<int>& worked) {
    std::string s;
    for (int d : worked) s += (s.empty() ? "" : ", ") + std::to_string(d);
    return s.empty() ? "none" : s;
}

}  // namespace

void DelayWindow(Context& c) {
    const char* s = "delay-window";
    if (!c.Prepare(s, "reader")) return;
    DialogSession d(c);
    std::vector<int> worked[2];
    for (int delay : DELAYS_MS) {
        if (!c.Device(s, "delay " + std::to_string(delay))) return;
        std::string line;
        for (bool slow : {false, true}) {
            if (d.ui.IsChecked(ids::IDC_COMPUTER_SLOW) != slow) d.ui.Click(ids::IDC_COMPUTER_SLOW);
            const Step set = d.Click(ids::IDC_SET_DEVICE);
            const bool ok = OutputIs(set.added, {reader_texts::CONFIG_SUCCESS});
            if (ok) worked[slow ? 1 : 0].push_back(delay);
            char part[96];
            std::snprintf(part, sizeof part, "  %s %-10s %5.0f ms",
                          slow ? "Computer slow" : "one read", ok ? "configured" : "failed",
                          set.ms);
            line += part;
            // Late answers must not reach the next Set Device.
            Context::Settle(delay);
        }
        c.results.Info(s, "answer after " + std::to_string(delay) + " ms:" + line);
    }
    c.results.Info(s, "Set Device configures the reader at delays (ms): " + List(worked[0]));
    c.results.Info(s, "with \"Computer slow\" at delays (ms): " + List(worked[1]));
}

}  // namespace e2e
