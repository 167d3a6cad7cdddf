// The reader settings through the dialog, as a person uses it, against a
// reader made through the kernel: Set Device and Read Device with long texts,
// an old reader that stores no long texts, and a silent reader's failures.

#include <map>
#include <string>

#include "app/ControlIds.h"
#include "app/reader/ReaderTexts.h"
#include "e2e/driver/DialogSession.h"
#include "e2e/driver/Scenarios.h"

using namespace ids;
namespace rt = reader_texts;

namespace e2e {

namespace {

// What the general settings view shows of the reader settings, by control.
using SettingsView = std::map<int, std::string>;

SettingsView Snapshot(const tk::HeadlessSurface& ui) {
    SettingsView v;
    auto state = [&](int id) {
        return std::string(ui.IsChecked(id) ? "ticked" : "unticked") +
               (ui.IsEnabled(id) ? "" : ", disabled");
    };
    for (int id : {IDC_T1_START, IDC_T1_END, IDC_T2_START, IDC_T2_END, IDC_T3_START, IDC_T3_END,
                   IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT})
        v[id] = "\"" + ui.GetText(id) + "\"" + (ui.IsEnabled(id) ? "" : ", disabled");
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) v[id] = state(id);
    for (int id : {IDC_SENTINELS, IDC_TRACK1, IDC_TRACK2, IDC_TRACK3, IDC_CR_TRACK1, IDC_CR_TRACK2,
                   IDC_CR_TRACK3, IDC_CR_PACKET, IDC_FILTER_EQUALS, IDC_MIDDLE_SEP, IDC_START_SEP,
                   IDC_END_SEP, IDC_ENTER_AFTER})
        v[id] = state(id);
    return v;
}

// "1052 \"--\" now \",\"; ..." for the controls that differ; empty when none.
std::string Differences(const SettingsView& want, const SettingsView& got) {
    std::string s;
    for (const auto& [id, value] : want) {
        const auto it = got.find(id);
        const std::string now = it == got.end() ? "missing" : it->second;
        if (now != value)
            s += (s.empty() ? "" : "; ") + std::to_string(id) + " " + value + " now " + now;
    }
    return s;
}

// Settings unlike the factory ones in every part of the frame, with long
// texts in five fields: two and nine bytes, Chinese (four GBK bytes), the
// middle separator and the end string.
void EnterSettings(tk::HeadlessSurface& ui) {
    ui.SetText(IDC_T1_START, "%B");
    ui.SetText(IDC_T2_END, "一二");
    ui.SetText(IDC_T3_END, "123456789");
    ui.Click(IDC_TRACK1);
    ui.Click(IDC_CR_PACKET);
    ui.Click(IDC_CR_TRACK3);
    ui.Click(IDC_FILTER_EQUALS);
    ui.Click(IDC_FORMAT_FIRST + 9);
    ui.Click(IDC_MIDDLE_SEP);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
    ui.Click(IDC_START_SEP);
    ui.SetText(IDC_START_SEP_TEXT, "#");
    ui.Click(IDC_END_SEP);
    ui.SetText(IDC_END_SEP_TEXT, "END");
    ui.Click(IDC_ENTER_AFTER);
}

// The step's transfers when it said what was expected, else what it said.
std::string Detail(const Step& step, bool ok, const std::string& more = {}) {
    if (!step.done) return "the button could not be pressed";
    return (ok ? step.Transfers() : "said \"" + OneLine(step.added) + "\"") +
           (more.empty() ? "" : "; " + more);
}

}  // namespace

void SetReadDevice(Context& c) {
    const char* s = "set-read-device";
    if (!c.Prepare(s, "reader", REALISTIC_DELAY_MS)) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;

    EnterSettings(d.ui);
    const Step set = d.Click(IDC_SET_DEVICE);
    const bool setOk = set.done && OutputIs(set.added, {rt::CONFIG_SUCCESS});
    c.results.Record(s, "Set Device, five long texts", setOk, set.ms, Detail(set, setOk));
    const SettingsView written = Snapshot(d.ui);
    Context::Settle(REALISTIC_DELAY_MS);

    // Factory values on screen, so that only the reader can bring the settings back.
    d.Click(IDC_DEFAULT_SETTING);
    if (Differences(written, Snapshot(d.ui)).empty()) {
        c.results.Record(s, "Default Setting", false, 0, "changed nothing on screen");
        return;
    }
    const Step read = d.Click(IDC_READ_DEVICE);
    const std::string diff = Differences(written, Snapshot(d.ui));
    const bool readOk = read.done && OutputIs(read.added, {rt::READ_SUCCESS}) && diff.empty();
    c.results.Record(s, "Read Device, five long texts", readOk, read.ms,
                     Detail(read, readOk, diff.empty() ? "every setting back" : diff));
}

void OldReader(Context& c) {
    const char* s = "old-reader";
    if (!c.Prepare(s, "old-reader", REALISTIC_DELAY_MS)) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;

    d.ui.Click(IDC_MIDDLE_SEP);
    d.ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
    const Step set = d.Click(IDC_SET_DEVICE);
    const std::string notice = std::string("\r\n") + rt::OLD_READER.Get() + "\r\n" +
                               rt::OLD_READER_FIELD[reader::FIELD_ID_MIDDLE].Get();
    const bool setOk = set.done && OutputIs(set.added, {notice, rt::CONFIG_SUCCESS});
    c.results.Record(s, "Set Device, long middle separator", setOk, set.ms,
                     Detail(set, setOk, setOk ? "old-version notice, then success" : ""));
    Context::Settle(REALISTIC_DELAY_MS);

    // The reader holds what the settings frame carried: the default character.
    const Step read = d.Click(IDC_READ_DEVICE);
    const std::string shown = d.ui.GetText(IDC_MIDDLE_SEP_TEXT);
    const bool readOk = read.done && OutputIs(read.added, {rt::READ_SUCCESS}) &&
                        d.ui.IsChecked(IDC_MIDDLE_SEP) &&
                        shown == std::string(1, reader::DEFAULT_CHARS[reader::FIELD_ID_MIDDLE]);
    c.results.Record(s, "Read Device: the frame carried the default", readOk, read.ms,
                     Detail(read, readOk, "middle separator reads back \"" + shown + "\""));
}

void SilentFailures(Context& c) {
    const char* s = "silent-failures";
    if (!c.Prepare(s, "silent")) return;
    DialogSession d(c);
    if (!RecordStartup(c, s, d)) return;

    auto boxSays = [](const Step& step, const TextPair& text) {
        return step.boxes.size() == 1 && step.boxes[0].text == text.Get() &&
               step.boxes[0].caption == rt::COMPUTER_SLOW_CAPTION.Get();
    };
    const Step first = d.Click(IDC_SET_DEVICE);
    const bool ticked = d.ui.IsChecked(IDC_COMPUTER_SLOW);
    const bool firstOk = first.done && OutputIs(first.added, {rt::DATA_SEND_FAILED}) &&
                         boxSays(first, rt::SET_COMPUTER_SLOW) && ticked;
    c.results.Record(s, "Set Device, one read", firstOk, first.ms,
                     Detail(first, firstOk,
                            std::to_string(first.boxes.size()) + " box(es) answered, " +
                                (ticked ? "\"Computer slow\" ticked" : "box left unticked")));

    const Step second = d.Click(IDC_SET_DEVICE);
    const bool secondOk =
        second.done && OutputIs(second.added, {rt::DATA_SEND_FAILED}) && second.boxes.empty();
    c.results.Record(s, "Set Device, Computer slow", secondOk, second.ms,
                     Detail(second, secondOk, "no box"));

    const Step read = d.Click(IDC_READ_DEVICE);
    const std::string failed = std::string(rt::READ_FAILED.Get()) + "\r\n";
    const bool readOk = read.done && OutputIs(read.added, {failed}) && read.boxes.empty();
    c.results.Record(s, "Read Device, Computer slow", readOk, read.ms,
                     Detail(read, readOk, "failure line, no box"));

    d.ui.Click(IDC_COMPUTER_SLOW);
    const Step unticked = d.Click(IDC_READ_DEVICE);
    const bool uOk = unticked.done && OutputIs(unticked.added, {failed}) &&
                     boxSays(unticked, rt::READ_COMPUTER_SLOW) && d.ui.IsChecked(IDC_COMPUTER_SLOW);
    c.results.Record(s, "Read Device, one read", uOk, unticked.ms,
                     Detail(unticked, uOk, "failure line, box answered, box ticked again"));
}

}  // namespace e2e
