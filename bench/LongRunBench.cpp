#include "bench/LongRunBench.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <cstdio>
#include <memory>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/SettingsControls.h"
#include "bench/ShownDialog.h"
#include "bench/StartupBench.h"
#include "bench/Stats.h"
#include "sim/CardReaderModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/FirstPaint.h"
#include "toolkit/qt/LogEdit.h"
#include "toolkit/qt/QtSurface.h"

namespace bench {
namespace {

constexpr int CHILD_TIMEOUT_MS = 30 * 60 * 1000;

bool RunChild(const std::string& self, const std::vector<std::string>& args, std::string* output,
              std::string* error) {
    const std::string screen = ScreenConfigFile();
    long long startNs = 0;
    const bool ok = Capture(self, args, ChildEnvironment(screen, false), CHILD_TIMEOUT_MS, output,
                            &startNs, error);
    if (!screen.empty()) unlink(screen.c_str());
    return ok;
}

long long PaneLineCount(tk::QtSurface& surface) {
    auto* pane = static_cast<tk::LogEdit*>(surface.Widget(ids::IDC_OUTPUT));
    return pane->document()->blockCount();
}

}  // namespace

PaneMemory MeasurePaneMemory(const std::string& self, int lines) {
    PaneMemory m;
    m.lines = lines;
    std::string output;
    if (!RunChild(self, {"--pane-child", std::to_string(lines)}, &output, &m.error)) return m;
    const size_t at = output.find("pane ");
    long before = 0, after = 0;
    if (at == std::string::npos ||
        std::sscanf(output.c_str() + at, "pane before_kb=%ld after_kb=%ld", &before, &after) != 2) {
        m.error = "pane child reported nothing:\n" + output;
        return m;
    }
    m.bytesPerLine = static_cast<double>(after - before) * 1024 / lines;
    return m;
}

BatchMemory MeasureBatchMemory(const std::string& self, int readers) {
    BatchMemory m;
    m.readers = readers;
    std::string output;
    if (!RunChild(self, {"--batch-child", std::to_string(readers)}, &output, &m.error)) return m;
    const size_t at = output.find("batch ");
    long peak = 0;
    if (at == std::string::npos ||
        std::sscanf(output.c_str() + at,
                    "batch configured=%lld lines=%lld pane_lines=%lld vmhwm_kb=%ld cpu_s=%lf",
                    &m.configured, &m.lines, &m.paneLines, &peak, &m.cpuSeconds) != 5) {
        m.error = "batch child reported nothing:\n" + output;
        return m;
    }
    m.peakKb = static_cast<double>(peak);
    // The row is about a batch of this many readers: each must have been configured.
    if (m.configured != readers)
        m.error = "the batch configured " + std::to_string(m.configured) + " of " +
                  std::to_string(readers) + " readers";
    return m;
}

int RunPaneChild(int lines) {
    bench::ShownDialog<sim::VirtualClock> shown;
    auto& [clock, port, surface, dlg] = shown;
    // A first batch of lines, so that what every pane allocates once is in.
    for (int i = 0; i < 100; ++i) dlg.AppendOutput(reader::BatchLine(static_cast<uint32_t>(i)));
    QApplication::processEvents();
    const long before = tk::ResidentKb();
    for (int i = 0; i < lines; ++i) {
        dlg.AppendOutput(reader::BatchLine(static_cast<uint32_t>(i + 1)));
        if (i % 100 == 99) QApplication::processEvents();
    }
    QApplication::processEvents();
    std::printf("pane before_kb=%ld after_kb=%ld\n", before, tk::ResidentKb());
    return 0;
}

int RunBatchChild(int readers) {
    bench::ShownDialog<sim::VirtualClock> shown;
    auto& [clock, port, surface, dlg] = shown;
    const long long startLines = PaneLineCount(surface);
    auto* pane = static_cast<tk::LogEdit*>(surface.Widget(ids::IDC_OUTPUT));

    const double start = CpuSeconds();
    sim::VirtualDevice* device = &port.Attach(std::make_unique<sim::CardReaderModel>());
    QApplication::processEvents();  // the arrival is an operation of its own
    dlg.OnCommand(ids::IDC_BATCH);  // configures the reader that is attached
    for (int n = 1; n < readers; ++n) {
        port.Detach(*device);
        device = &port.Attach(std::make_unique<sim::CardReaderModel>());
        QApplication::processEvents();
    }
    QApplication::processEvents();
    const long long paneLines = PaneLineCount(surface);
    std::printf("batch configured=%u lines=%lld pane_lines=%lld vmhwm_kb=%ld cpu_s=%.3f\n",
                g_nBatchCount,
                // The note of dropped lines is no line of the batch.
                paneLines + pane->DroppedLines() - (pane->DroppedLines() > 0) - startLines,
                paneLines, tk::PeakResidentKb(), CpuSeconds() - start);
    return 0;
}

}  // namespace bench
