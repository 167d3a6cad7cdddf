// Scenarios of the HID link through real hidraw nodes: presence, one
// transfer pair, the tool's exchange, a silent reader, a lost report, and the
// dialog's start-up.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "device/HidrawPaths.h"
#include "device/ReportDescriptor.h"
#include "e2e/driver/Scenarios.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace e2e {

namespace {

std::string Ms(double ms) {
    return std::to_string(static_cast<int>(ms + 0.5)) + " ms";
}

std::string Hex(const sim::Frame& f) {
    std::string s;
    char b[4];
    for (uint8_t v : f) {
        std::snprintf(b, sizeof b, " %02x", v);
        s += b;
    }
    return s;
}

// Opens the first interface with the reader's ids, as the link does.
std::unique_ptr<dev::HidHandle> OpenReader(dev::HidPort& port) {
    for (const dev::HidInterfaceInfo& i : port.Enumerate())
        if (i.vendorId == dev::VENDOR_ID && i.productId == dev::PRODUCT_ID)
            if (auto h = port.Open(i.path, nullptr)) return h;
    return nullptr;
}

// The port's lengths must come from the device's own report descriptor in
// sysfs, not from the port's fallback (which is the reader's 65 too).
void DescriptorLengths(Context& c, const char* s) {
    std::string path;
    for (const dev::HidInterfaceInfo& i : c.Port().Enumerate())
        if (i.vendorId == dev::VENDOR_ID && i.productId == dev::PRODUCT_ID && path.empty())
            path = i.path;
    const Stopwatch sw;
    std::ifstream in(dev::ReportDescriptorPathOf(path), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    const auto lengths = dev::ParseReportLengths(bytes.data(), bytes.size());
    const bool ok = lengths && lengths->input == dev::FRAME_LEN + 1 &&
                    lengths->output == dev::FRAME_LEN + 1 && !lengths->numbered;
    c.results.Record(s, "report descriptor in sysfs", ok, sw.Ms(),
                     !lengths ? std::to_string(bytes.size()) + " bytes, not a descriptor"
                              : std::to_string(bytes.size()) + " bytes: input " +
                                    std::to_string(lengths->input) + ", output " +
                                    std::to_string(lengths->output) +
                                    (lengths->numbered ? ", report ids" : ", no report ids"));
}

void RecordExchange(Context& c, const char* s, const std::string& what, const ExchangeOutcome& o,
                    bool ok, const std::string& detail) {
    static const char* const STEPS[] = {"write 1", "write 2", "read 1", "read 2"};
    for (size_t i = 0; i < o.stepMs.size() && i < 4; ++i)
        c.results.Info(s, what + " " + STEPS[i] + ": " + Ms(o.stepMs[i]));
    c.results.Record(s, what, ok, o.totalMs, detail);
}

}  // namespace

void Presence(Context& c) {
    const char* s = "presence";
    if (!c.Unplug(s, true)) return;
    const Stopwatch plug;
    if (!c.Prepare(s, "acking")) return;
    c.results.Record(s, "plug until enumerated", true, plug.Ms(), "uhid creation is asynchronous");

    dev::CHidLink link(c.Port(), c.Watcher(), c.Clock());
    const Stopwatch found;
    const bool present = link.CheckPresence();
    c.results.Record(s, "CheckPresence attached", present, found.Ms(),
                     present ? "found" : "not found");

    if (!c.Unplug(s, true)) return;
    const Stopwatch gone;
    const bool absent = !link.CheckPresence() && link.LastFindStatus() == dev::FindStatus::NotFound;
    c.results.Record(s, "CheckPresence unplugged", absent, gone.Ms(),
                     absent ? "not found" : "still found");
}

void DialogStartup(Context& c) {
    const char* s = "dialog-startup";
    if (!c.Prepare(s, "acking")) return;
    tk::HeadlessSurface ui(app::MainDialogSpec());
    tk::SystemClock clock;
    CReaderConfigDlg dlg(ui, c.Port(), c.Watcher(), clock);
    const Stopwatch sw;
    dlg.OnInitDialog();
    const double ms = sw.Ms();
    const bool said =
        ui.GetText(ids::IDC_OUTPUT).find(texts::STARTUP_CONNECTED) != std::string::npos;
    const bool enabled = ui.IsEnabled(ids::IDC_SET_DEVICE) && ui.IsEnabled(ids::IDC_READ_DEVICE);
    c.results.Record(s, "OnInitDialog", said && enabled, ms,
                     said ? (enabled ? "reader reported, buttons enabled" : "buttons disabled")
                          : "no connected message");
}

void PortRoundTrip(Context& c) {
    const char* s = "port-roundtrip";
    if (!c.Prepare(s, "acking")) return;
    const Stopwatch open;
    std::unique_ptr<dev::HidHandle> h = OpenReader(c.Port());
    const bool lengths = h && h->InputReportLength() == dev::FRAME_LEN + 1 &&
                         h->OutputReportLength() == dev::FRAME_LEN + 1;
    c.results.Record(s, "enumerate and open", lengths, open.Ms(),
                     !h        ? "cannot open"
                     : lengths ? "65-byte reports"
                               : "unexpected report lengths");
    if (!h) return;
    DescriptorLengths(c, s);

    const sim::Frame request = TestFrame(1);
    uint8_t report[dev::REPORT_BUFFER_LEN] = {0};
    std::copy(request.begin(), request.end(), report + 1);
    const Stopwatch sw;
    const bool wrote = h->Write(report, dev::FRAME_LEN + 1, dev::WRITE_WAIT_MS);
    const double writeMs = sw.Ms();
    const int got = h->Read(report, sizeof report, dev::READ_WAIT_MS);
    const bool ok = wrote && got == dev::FRAME_LEN + 1 && IsAckOf(report + 1, request);
    c.results.Record(s, "write", wrote, writeMs);
    c.results.Record(s, "write then read, one handle", ok, sw.Ms(),
                     ok ? "acknowledged" : "got " + std::to_string(got) + " bytes");
}

void LinkExchange(Context& c) {
    const char* s = "link-exchange";
    if (!c.Prepare(s, "acking", REALISTIC_DELAY_MS)) return;
    c.results.Info(s, "reader answers after " + std::to_string(REALISTIC_DELAY_MS) + " ms");
    dev::CHidLink link(c.Port(), c.Watcher(), c.Clock());
    link.CheckPresence();
    for (int reads : {1, 2}) {
        const ExchangeOutcome o = Exchange(link, TestFrame(static_cast<uint8_t>(reads)), reads);
        RecordExchange(c, s, reads == 1 ? "two writes, one read" : "two writes, two reads", o,
                       o.acknowledged, o.acknowledged ? "acknowledged" : "no answer");
    }
}

void SilentReader(Context& c) {
    const char* s = "silent-reader";
    if (!c.Prepare(s, "silent")) return;
    dev::CHidLink link(c.Port(), c.Watcher(), c.Clock());
    link.CheckPresence();
    for (int reads : {1, 2}) {
        const ExchangeOutcome o = Exchange(link, TestFrame(static_cast<uint8_t>(reads)), reads);
        bool waited = true;
        for (size_t i = 2; i < o.stepMs.size(); ++i)
            waited = waited && o.stepMs[i] >= dev::READ_WAIT_MS;
        RecordExchange(c, s, reads == 1 ? "two writes, one read" : "two writes, two reads", o,
                       o.untouched && waited,
                       !o.untouched ? "buffer changed"
                       : waited     ? "request left in the buffer"
                                    : "a read returned early");
    }
}

void LostReport(Context& c) {
    const char* s = "lost-report";
    if (!c.Prepare(s, "silent")) return;
    const sim::Frame unsolicited = TestFrame(0x40);
    {
        // Control: a report sent while a handle is open reaches it.
        std::unique_ptr<dev::HidHandle> h = OpenReader(c.Port());
        if (!h || !c.Device(s, "send" + Hex(unsolicited))) return;
        uint8_t report[dev::REPORT_BUFFER_LEN] = {0};
        const Stopwatch sw;
        const int got = h->Read(report, sizeof report, dev::READ_WAIT_MS);
        const bool ok = got == dev::FRAME_LEN + 1 &&
                        std::equal(unsolicited.begin(), unsolicited.end(), report + 1);
        c.results.Record(s, "sent while a handle is open", ok, sw.Ms(),
                         ok ? "received" : "not received");
    }
    // The same report with no handle open is dropped by the kernel.
    if (!c.Device(s, "send" + Hex(unsolicited))) return;
    dev::CHidLink link(c.Port(), c.Watcher(), c.Clock());
    link.CheckPresence();
    sim::Frame buffer = TestFrame(0x41);
    const sim::Frame before = buffer;
    const Stopwatch sw;
    link.ReadReport(buffer.data(), static_cast<uint8_t>(buffer.size()));
    const bool lost = buffer == before;
    c.results.Record(s, "sent while no handle is open", lost, sw.Ms(),
                     lost ? "lost: the read timed out" : "the read still got it");
}

}  // namespace e2e
