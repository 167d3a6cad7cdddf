// Unplugging and plugging the reader, seen through the watcher's events as
// the dialog sees them: each event re-checks presence.

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver/Scenarios.h"

namespace e2e {

namespace {

constexpr int CYCLES = 3;
constexpr int EVENT_WAIT_MS = 10000;

// Stands for the dialog: records every event and re-checks presence on it.
class EventRecorder : public dev::DeviceChangeReceiver {
  public:
    explicit EventRecorder(dev::CHidLink& link) : m_link(link) {}
    bool OnDeviceChange(uint32_t event, uintptr_t) override {
        events.push_back(event);
        present = m_link.CheckPresence();
        return true;
    }
    bool Saw(uint32_t event) const {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    std::string Names() const {
        std::string s;
        for (uint32_t e : events)
            s += e == dev::DBT_DEVICEARRIVAL          ? " arrival"
                 : e == dev::DBT_DEVICEREMOVECOMPLETE ? " removal"
                 : e == dev::DBT_DEVNODES_CHANGED     ? " tree-changed"
                                                      : " other";
        return s.empty() ? " none" : s;
    }

    std::vector<uint32_t> events;
    bool present = false;

  private:
    dev::CHidLink& m_link;
};

}  // namespace

void PlugCycles(Context& c) {
    const char* s = "plug-cycles";
    if (!c.Prepare(s, "acking", REALISTIC_DELAY_MS)) return;
    c.DropPendingEvents();  // the plugging of earlier scenarios
    dev::CHidLink link(c.Port(), c.Watcher(), c.Clock());
    EventRecorder recorder(link);
    link.m_hNotifyWnd = &recorder;
    const Stopwatch reg;
    const bool registered = link.CheckPresence() && link.RegisterNotification();
    c.results.Record(s, "register", registered, reg.Ms());
    if (!registered) return;

    for (int n = 1; n <= CYCLES; ++n) {
        const std::string cycle = "cycle " + std::to_string(n);
        recorder.events.clear();
        const Stopwatch out;
        if (!c.Unplug(s, false)) return;
        const bool removed = c.PumpEventsUntil(
            [&] { return recorder.Saw(dev::DBT_DEVICEREMOVECOMPLETE) && !recorder.present; },
            EVENT_WAIT_MS);
        c.results.Record(s, cycle + " unplug seen", removed, out.Ms(),
                         "events:" + recorder.Names());

        recorder.events.clear();
        const Stopwatch in;
        if (!c.Plug(s, false)) return;
        const bool arrived = c.PumpEventsUntil(
            [&] { return recorder.Saw(dev::DBT_DEVICEARRIVAL) && recorder.present; },
            EVENT_WAIT_MS);
        c.results.Record(s, cycle + " plug seen", arrived, in.Ms(), "events:" + recorder.Names());
        if (!removed || !arrived) return;
    }
    const ExchangeOutcome o = Exchange(link, TestFrame(0x60), 1);
    c.results.Record(s, "exchange after the last plug", o.acknowledged, o.totalMs,
                     o.acknowledged ? "acknowledged" : "no answer");
}

}  // namespace e2e
