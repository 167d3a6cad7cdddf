// Whole operations of the main dialog against devices that answer what the
// fuzz input says: Set Device, Read Device, Config keyboard, Read Config, the
// switch to the keyboard view, both batch modes, plugging and unplugging,
// device-change events, typing into the fields, message boxes answered from
// the input. The input is a list of such actions; after each the widgets must
// hold well-formed UTF-8, the action must have ended within a bounded virtual
// time, and a reader configured in a batch run must get no further frame.
// While a message box is open, devices come and go with their events, as the
// platform delivers them to a modal loop; while a transfer waits, a device
// may be pulled out, its events following once the action is over.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Check.h"
#include "FuzzInput.h"
#include "FuzzedReaderModel.h"
#include "WellFormed.h"
#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "base/Gbk.h"
#include "device/DeviceWatcher.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace {

using namespace ids;

// The longest one action may block the dialog: two Set Devices of nine long
// texts each with every read waiting twice, for the two events of a plug-in.
constexpr int64_t ACTION_LIMIT_MS = 30000;
constexpr int MAX_ACTIONS = 200;

// A virtual clock that fails the input when a wait goes past the limit, and
// lets the world move on (a device pulled out) while a transfer waits.
class BoundedClock : public sim::VirtualClock {
  public:
    void LimitFromNow(int64_t ms) { m_limitMs = NowMs() + ms; }
    void WaitUntil(int64_t deadlineMs) override {
        FUZZ_CHECK(deadlineMs <= m_limitMs);
        if (duringWait) duringWait();
        sim::VirtualClock::WaitUntil(deadlineMs);
    }
    std::function<void()> duringWait;

  private:
    int64_t m_limitMs = 0;
};

// Message boxes answered from the input.
class FuzzSurface : public tk::HeadlessSurface {
  public:
    explicit FuzzSurface(fuzz::FuzzInput& in) : HeadlessSurface(app::MainDialogSpec()), m_in(in) {}
    tk::MsgBoxResult MessageBox(const std::string& text, const std::string& caption,
                                tk::MsgBoxButtons buttons) override {
        if (buttons == tk::MsgBoxButtons::YesNo)
            QueueAnswer(m_in.Bool() ? tk::MsgBoxResult::Yes : tk::MsgBoxResult::No);
        // The box's loop runs: device events reach the dialog meanwhile.
        // Only while the input lasts: a used-up input reads as zeros.
        if (whileOpen && !m_in.Empty() && m_in.Byte() % 4 == 0) whileOpen();
        return HeadlessSurface::MessageBox(text, caption, buttons);
    }
    std::function<void()> whileOpen;

  private:
    fuzz::FuzzInput& m_in;
};

size_t FramesReceived(sim::VirtualHidPort& port) {
    size_t n = 0;
    for (sim::VirtualDevice* d : port.Devices()) n += d->Received().size();
    return n;
}

// The device is set up before its events go out: handling them may pull it
// out again (a transfer's wait), so it is not touched afterwards.
void AttachDevice(sim::VirtualHidPort& port, fuzz::FuzzInput& in, bool quietly) {
    sim::VirtualDevice& d = port.AttachQuietly(fuzz::MakeFuzzedDevice(in));
    // Now and then a device that opens badly, has odd report lengths, or is
    // the reader's keyboard interface.
    if (in.Byte() % 16 == 0) {
        d.inputReportLength = in.Byte();
        d.outputReportLength = in.Byte();
        d.openError = static_cast<dev::OpenError>(in.Byte() % 4);
        d.keyboardUsage = in.Bool();
    }
    if (quietly) return;
    port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
}

// What a user types: any GBK bytes as the widget shows them.
std::string TypedText(fuzz::FuzzInput& in) {
    return tk::GbkToUtf8(in.Text(16));
}

constexpr int SEPARATOR_EDITS[] = {IDC_T1_START,        IDC_T1_END,         IDC_T2_START,
                                   IDC_T2_END,          IDC_T3_START,       IDC_T3_END,
                                   IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT};
constexpr int BOXES[] = {
    IDC_MIDDLE_SEP, IDC_START_SEP,     IDC_END_SEP,      IDC_SENTINELS,        IDC_CR_PACKET,
    IDC_TRACK1,     IDC_TRACK2,        IDC_TRACK3,       IDC_CR_TRACK1,        IDC_CR_TRACK2,
    IDC_CR_TRACK3,  IDC_FILTER_EQUALS, IDC_ENTER_AFTER,  IDC_AUTO_KEYBOARD,    IDC_SHIELD_KEYS,
    IDC_CHINESE,    IDC_ENGLISH,       IDC_FORMAT_FIRST, IDC_FORMAT_FIRST + 6, IDC_FORMAT_LAST};

struct Session {
    fuzz::FuzzInput& in;
    BoundedClock& clock;
    FuzzSurface& ui;
    sim::VirtualHidPort& port;

    // A device-change event with no device plugged or pulled: in a batch run
    // whose reader is configured it must not reach the reader.
    void RaiseEvent(uint32_t event) {
        const bool configured = (!g_bKeyboardView && g_bBatchMode && g_bBatchDone) ||
                                (g_bKeyboardView && g_bKeyboardBatch && g_bKeyboardBatchDone);
        const bool present = g_bDeviceConnected;
        const size_t before = FramesReceived(port);
        port.RaiseEvent(event);
        if (configured && present) FUZZ_CHECK(FramesReceived(port) == before);
    }

    std::vector<uint32_t> pendingEvents;  // of devices pulled out during a wait

    // Something the platform delivers while a message box is open.
    void DeviceEventWhileBoxOpen() {
        switch (in.Byte() % 4) {
            case 0:
                AttachDevice(port, in, false);
                break;
            case 1: {
                const auto devices = port.Devices();
                if (!devices.empty()) port.Detach(*devices[in.Below(devices.size())]);
                break;
            }
            case 2:
                port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
                break;
            case 3:
                port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
                break;
        }
    }

    // A device pulled out in the middle of a transfer's wait; the dialog
    // hears of it when the action is over.
    void PullDuringWait() {
        if (in.Empty() || in.Byte() % 32 != 0) return;
        const auto devices = port.Devices();
        if (devices.empty()) return;
        port.DetachQuietly(*devices[in.Below(devices.size())]);
        pendingEvents.push_back(dev::DBT_DEVICEREMOVECOMPLETE);
        pendingEvents.push_back(dev::DBT_DEVNODES_CHANGED);
    }

    void RaisePendingEvents() {
        const std::vector<uint32_t> events = std::exchange(pendingEvents, {});
        for (uint32_t e : events) port.RaiseEvent(e);
    }

    void Act() {
        switch (in.Byte() % 22) {
            case 0:
                ui.Click(IDC_SET_DEVICE);
                break;
            case 1:
                ui.Click(IDC_READ_DEVICE);
                break;
            case 2:
                ui.Click(IDC_DEFAULT_SETTING);
                break;
            case 3:
                ui.Click(IDC_BATCH);
                break;
            case 4:
                ui.Click(IDC_CONFIG_KEY);
                break;
            case 5:
                ui.Click(IDC_READ_CONFIG);
                break;
            case 6:
                ui.Click(IDC_DEFAULT_KEYS);
                break;
            case 7:
                ui.Click(IDC_KEYPAD_BATCH);
                break;
            case 8:
                ui.ChooseMenu(ID_TOGGLE_VIEW);
                break;
            case 9:
                ui.Click(IDC_COMPUTER_SLOW);
                break;
            case 10:
                AttachDevice(port, in, false);
                break;
            case 11: {
                const auto devices = port.Devices();
                if (!devices.empty()) port.Detach(*devices[in.Below(devices.size())]);
                break;
            }
            case 12:
                RaiseEvent(dev::DBT_DEVNODES_CHANGED);
                break;
            case 13:
                RaiseEvent(dev::DBT_DEVICEARRIVAL);
                break;
            case 14:
                port.RaiseEvent(in.Dword());
                break;
            case 15:
                if (ui.ClickInto(SEPARATOR_EDITS[in.Below(std::size(SEPARATOR_EDITS))]))
                    ui.Type(TypedText(in));
                break;
            case 16:
                if (ui.ClickInto(KeyFieldId(1 + static_cast<int>(in.Below(KEY_FIELD_COUNT)))))
                    ui.Type(TypedText(in));
                break;
            case 17:
                ui.Click(BOXES[in.Below(std::size(BOXES))]);
                break;
            case 18:
                ui.Click(IDC_CLEAR);
                break;
            case 19:
                ui.PressKey(in.Byte());
                break;
            case 20:
                clock.Advance(in.Word() % 5000);
                break;
            case 21:
                ui.FireTimer(CLOCK_TIMER);
                break;
        }
    }

    void CheckWidgets() const {
        for (const tk::ControlSpec& c : app::MainDialogSpec().controls)
            FUZZ_CHECK(fuzz::IsWellFormedUtf8(ui.GetText(c.id)));
        for (const tk::ShownMessageBox& box : ui.MessageBoxes())
            FUZZ_CHECK(fuzz::IsWellFormedUtf8(box.text) && fuzz::IsWellFormedUtf8(box.caption));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    BoundedClock clock;
    FuzzSurface ui(in);
    sim::VirtualHidPort port(clock);
    if (in.Bool()) AttachDevice(port, in, true);
    CReaderConfigDlg dlg(ui, port, port, clock);
    clock.LimitFromNow(ACTION_LIMIT_MS);
    dlg.OnInitDialog();

    Session session{in, clock, ui, port, {}};
    ui.whileOpen = [&] { session.DeviceEventWhileBoxOpen(); };
    clock.duringWait = [&] { session.PullDuringWait(); };
    for (int i = 0; i < MAX_ACTIONS && !in.Empty() && !ui.Ended(); ++i) {
        clock.LimitFromNow(ACTION_LIMIT_MS);
        session.Act();
        clock.LimitFromNow(ACTION_LIMIT_MS);
        session.RaisePendingEvents();
        session.CheckWidgets();
        ui.ClearMessageBoxes();
    }
    ui.whileOpen = nullptr;
    clock.duringWait = nullptr;
    return 0;
}
