#include "bench/OperationBench.h"

#include <QApplication>
#include <QDialog>
#include <functional>
#include <memory>
#include <stdexcept>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "bench/Stats.h"
#include "keypad/KeyNameTable.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"
#include "toolkit/qt/QtSurface.h"

namespace bench {
namespace {

struct Operation {
    const char* name;
    int command;
    bool keyboardView;
};

constexpr Operation OPERATIONS[] = {
    {"Set Device", ids::IDC_SET_DEVICE, false},
    {"Read Device", ids::IDC_READ_DEVICE, false},
    {"Config keyboard", ids::IDC_CONFIG_KEY, true},
};

std::unique_ptr<sim::ReaderModel> InstantKeypad() {
    auto reader = std::make_unique<sim::CardReaderModel>();
    // The earliest a reader can answer: the answer must find the read's
    // handle open, not the write's. On the virtual clock it costs no time.
    reader->SetAnswerDelayMs(1);
    return std::make_unique<sim::KeypadModel>(std::move(reader), DEFAULT_KEY_CODES);
}

struct Measured {
    double cpu = 0;
    double frames = 0;
    double waitedMs = 0;
};

// One operation, repeated, on a fresh dialog over surface. afterEach runs
// after every operation (the Qt event loop's turn); checkFirst after the
// first one.
Measured Measure(tk::DialogSurface& surface, const Operation& op, int rounds, int perRound,
                 const std::function<void()>& afterEach, const std::function<void()>& checkFirst) {
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    sim::VirtualDevice& device = port.AttachQuietly(InstantKeypad());
    CReaderConfigDlg dlg(surface, port, port, clock);
    dlg.OnInitDialog();
    // A factory-fresh reader has nothing to read back.
    dlg.OnCommand(ids::IDC_SET_DEVICE);
    if (op.keyboardView) {
        dlg.OnCommand(ids::ID_TOGGLE_VIEW);
        dlg.OnCommand(ids::IDC_DEFAULT_KEYS);
    }
    afterEach();
    dlg.OnCommand(op.command);  // the first run allocates what later runs reuse
    afterEach();
    checkFirst();

    std::vector<double> cpu;
    device.ClearReceived();
    const int64_t startMs = clock.NowMs();
    for (int r = 0; r < rounds; ++r) {
        const double start = CpuSeconds();
        for (int i = 0; i < perRound; ++i) {
            dlg.OnCommand(op.command);
            afterEach();
        }
        cpu.push_back((CpuSeconds() - start) / perRound);
    }
    const double runs = static_cast<double>(rounds) * perRound;
    return {Median(cpu), static_cast<double>(device.Received().size()) / runs,
            static_cast<double>(clock.NowMs() - startMs) / runs};
}

}  // namespace

std::vector<OperationCost> MeasureOperations(int rounds, int perRound) {
    std::vector<OperationCost> costs;
    for (const Operation& op : OPERATIONS) {
        OperationCost cost;
        cost.name = op.name;
        {
            tk::HeadlessSurface surface(app::MainDialogSpec());
            // A question would stop the Qt run for good: the operation must
            // succeed without one.
            const Measured m = Measure(
                surface, op, rounds, perRound, [] {},
                [&] {
                    if (!surface.MessageBoxes().empty())
                        throw std::runtime_error(std::string(op.name) +
                                                 " asked: " + surface.MessageBoxes().front().text);
                });
            cost.headless = m.cpu;
            cost.frames = m.frames;
            cost.waitedMs = m.waitedMs;
        }
        {
            tk::QtSurface surface(app::MainDialogSpec());
            surface.Dialog()->show();
            const Measured m = Measure(
                surface, op, rounds, perRound, [] { QApplication::processEvents(); }, [] {});
            cost.qt = m.cpu;
        }
        costs.push_back(cost);
    }
    return costs;
}

}  // namespace bench
