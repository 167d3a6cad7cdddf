// Which interface the settings go to, and what Read Device sends back, through
// the kernel: a reader whose keyboard interface (same ids) comes first, and a
// reader whose read answer is garbled and cut short.

#include <algorithm>
#include <string>

#include "app/ControlIds.h"
#include "app/reader/ReaderTexts.h"
#include "e2e/driver/DialogSession.h"
#include "e2e/driver/Scenarios.h"

using namespace ids;
namespace rt = reader_texts;

namespace e2e {

void KeyboardFirst(Context& c) {
    const char* s = "keyboard-first";
    if (!c.Unplug(s, true)) return;
    DeviceProcess keyboard;
    Stopwatch sw;
    if (!keyboard.Start(c.deviceProgram, {"--unplugged", "--keyboard", "--model", "silent"}) ||
        !keyboard.Command("plug")) {
        c.results.Record(s, "keyboard interface plugged", false, sw.Ms(), keyboard.Error());
        return;
    }
    const bool keyboardUp = c.WaitForReaderInterfaces(1, 10000);
    c.results.Record(s, "keyboard interface plugged", keyboardUp, sw.Ms(),
                     keyboardUp ? "its hidraw node is there" : "no hidraw node appeared");
    if (!keyboardUp) return;
    sw = Stopwatch();
    if (!c.Prepare(s, "reader", REALISTIC_DELAY_MS)) return;
    const bool both = c.WaitForReaderInterfaces(2, 10000);
    const auto interfaces = c.ReaderInterfaces();
    std::string order;
    for (const dev::HidInterfaceInfo& i : interfaces) order += " " + i.path;
    c.results.Record(s, "settings interface plugged", both, sw.Ms(),
                     "interfaces with the reader's ids:" + order);
    if (!both) return;

    long before = 0, after = 0;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;
    d.ui.SetText(IDC_T1_START, "%B");
    const Step set = d.Click(IDC_SET_DEVICE);
    const bool setOk = set.done && OutputIs(set.added, {rt::CONFIG_SUCCESS});
    c.results.Record(s, "Set Device", setOk, set.ms,
                     setOk ? set.Transfers() : "said \"" + OneLine(set.added) + "\"");
    Context::Settle(REALISTIC_DELAY_MS);
    const Step read = d.Click(IDC_READ_DEVICE);
    const bool readOk =
        read.done && OutputIs(read.added, {rt::READ_SUCCESS}) && d.ui.GetText(IDC_T1_START) == "%B";
    c.results.Record(s, "Read Device", readOk, read.ms,
                     readOk ? read.Transfers() : "said \"" + OneLine(read.added) + "\"");

    std::string said;
    const bool counted = keyboard.Query("frames", said) && said.starts_with("frames ");
    after = counted ? std::strtol(said.c_str() + 7, nullptr, 10) : -1;
    c.results.Record(s, "keyboard interface got no frame", counted && after == before, 0,
                     counted ? std::to_string(after) + " output reports" : keyboard.Error());
    keyboard.Command("unplug");
}

void GarbledAnswer(Context& c) {
    const char* s = "garbled-answer";
    if (!c.Prepare(s, "garbled", REALISTIC_DELAY_MS)) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;
    long before = 0, after = 0;
    if (!c.FramesReceived(s, before)) return;
    const Step read = d.Click(IDC_READ_DEVICE);
    Context::Settle(REALISTIC_DELAY_MS);
    if (!c.FramesReceived(s, after)) return;
    const std::string failed =
        std::string(rt::READ_FAILED.Get()) + "\r\n" + rt::NOT_CONFIGURED.Get() + "\r\n";
    const bool said = read.done && OutputIs(read.added, {failed});
    // The two read requests, and nothing written back.
    const bool ok = said && after - before == 2;
    c.results.Record(s, "Read Device of \"20 20 52 41 42\"", ok, read.ms,
                     std::to_string(after - before) + " reports reached the reader" +
                         (said ? "" : "; said \"" + OneLine(read.added) + "\""));
}

}  // namespace e2e
