// Batch mode over several plug cycles, driven by the kernel's own hidraw add
// and remove events reaching the dialog through the watcher. Each plug brings
// a factory-fresh reader; the device program's count of output reports shows
// that each is configured exactly once.

#include <fstream>
#include <string>

#include "app/ControlIds.h"
#include "app/device/DeviceTexts.h"
#include "app/reader/SettingsControls.h"
#include "e2e/driver/DialogSession.h"
#include "e2e/driver/Scenarios.h"

using namespace ids;

namespace e2e {

namespace {

constexpr int PLUG_CYCLES = 3;
constexpr int EVENT_WAIT_MS = 10000;
// Events of one kernel message arrive together; stragglers come within this.
constexpr int AFTERMATH_MS = 300;

// Asks the kernel to announce the reader's hidraw node again ("change"): a
// real device-tree change while the reader stays attached.
bool AnnounceChange(dev::HidPort& port) {
    for (const dev::HidInterfaceInfo& i : port.Enumerate()) {
        if (i.vendorId != dev::VENDOR_ID || i.productId != dev::PRODUCT_ID) continue;
        const std::string node = i.path.substr(i.path.find_last_of('/') + 1);
        std::ofstream uevent("/sys/class/hidraw/" + node + "/uevent");
        uevent << "change\n";
        uevent.flush();
        return static_cast<bool>(uevent);
    }
    return false;
}

bool Shows(const DialogSession& d, size_t from, const std::string& text) {
    return d.OutputText().find(text, from) != std::string::npos;
}

}  // namespace

void BatchPlugCycles(Context& c) {
    const char* s = "batch";
    if (!c.Prepare(s, "reader", REALISTIC_DELAY_MS)) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;

    long before = 0, after = 0;
    if (!c.FramesReceived(s, before)) return;
    const Step start = d.Click(IDC_BATCH);
    if (!c.FramesReceived(s, after)) return;
    const long perReader = after - before;
    const bool startOk =
        start.done && OutputIs(start.added, {reader::BatchLine(1)}) && perReader > 0;
    c.results.Record(s, "start batch, reader attached", startOk, start.ms,
                     (startOk ? start.Transfers() : "said \"" + OneLine(start.added) + "\"") +
                         "; " + std::to_string(perReader) + " frames");
    if (!startOk) return;
    Context::Settle(REALISTIC_DELAY_MS);

    for (int n = 2; n <= PLUG_CYCLES + 1; ++n) {
        const std::string cycle = "cycle " + std::to_string(n - 1);
        size_t mark = d.OutputText().size();
        int events = d.EventsDelivered();
        const Stopwatch out;
        if (!c.Unplug(s, false)) return;
        const std::string removed = devicetexts::REMOVED;
        const bool gone = d.PumpEventsUntil([&] { return Shows(d, mark, removed); }, EVENT_WAIT_MS);
        const double outMs = out.Ms();
        d.PumpEventsUntil([] { return false; }, AFTERMATH_MS);
        const std::string outText = d.OutputText().substr(mark);
        c.results.Record(s, cycle + " unplug", gone && OutputIs(outText, {removed}), outMs,
                         std::to_string(d.EventsDelivered() - events) + " events; said \"" +
                             OneLine(outText) + "\"");
        if (!gone) return;

        // The next reader of the batch, as it comes from the factory.
        if (!c.Device(s, "model reader") || !c.FramesReceived(s, before)) return;
        mark = d.OutputText().size();
        events = d.EventsDelivered();
        const std::string line = reader::BatchLine(static_cast<uint32_t>(n));
        const Stopwatch in;
        if (!c.Plug(s, false)) return;
        const bool configured =
            d.PumpEventsUntil([&] { return Shows(d, mark, line); }, EVENT_WAIT_MS);
        const double inMs = in.Ms();
        d.PumpEventsUntil([] { return false; }, AFTERMATH_MS);
        const int plugEvents = d.EventsDelivered() - events;

        // A further tree change while the configured reader stays attached.
        const bool announced = AnnounceChange(c.Port());
        const int seen = d.EventsDelivered();
        const bool changeSeen =
            announced &&
            d.PumpEventsUntil([&] { return d.EventsDelivered() > seen; }, EVENT_WAIT_MS);
        d.PumpEventsUntil([] { return false; }, AFTERMATH_MS);
        if (!c.FramesReceived(s, after)) return;
        const std::string inText = d.OutputText().substr(mark);
        const bool once = after - before == perReader;
        const bool ok =
            configured && changeSeen && once && OutputIs(inText, {devicetexts::CONNECTED, line});
        c.results.Record(s, cycle + " plug until configured", ok, inMs,
                         std::to_string(plugEvents) + " events, then " +
                             (changeSeen ? "a change event" : "no change event") + "; " +
                             std::to_string(after - before) + " frames (one configuration: " +
                             std::to_string(perReader) + "); said \"" + OneLine(inText) + "\"");
        if (!ok) return;
        Context::Settle(REALISTIC_DELAY_MS);
    }
}

}  // namespace e2e
