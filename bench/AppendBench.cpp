#include "bench/AppendBench.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/SettingsControls.h"
#include "bench/ShownDialog.h"
#include "bench/Stats.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/QtSurface.h"

namespace bench {

namespace {

struct Samples {
    std::vector<double> append, appendPaint;
};

// One pane filled from empty; the samples of each window go to its mark.
void FillOnce(const std::vector<int>& marks, int window, std::vector<Samples>& samples) {
    bench::ShownDialog<sim::VirtualClock> shown;
    auto& [clock, port, surface, dlg] = shown;

    int line = 0;
    for (size_t m = 0; m < marks.size(); ++m) {
        // Up to the window, as a long batch run fills the pane.
        for (; line < marks[m] - window; ++line) {
            dlg.AppendOutput(reader::BatchLine(static_cast<uint32_t>(line + 1)));
            if (line % 1000 == 0) QApplication::processEvents();
        }
        QApplication::processEvents();
        for (; line < marks[m]; ++line) {
            const double start = CpuSeconds();
            dlg.AppendOutput(reader::BatchLine(static_cast<uint32_t>(line + 1)));
            const double appended = CpuSeconds();
            // What the event loop then paints, as the user sees it.
            QApplication::processEvents();
            const double painted = CpuSeconds();
            samples[m].append.push_back(appended - start);
            samples[m].appendPaint.push_back(painted - start);
        }
    }
}

}  // namespace

std::vector<AppendCost> MeasureAppendOutput(const std::vector<int>& marks, int window,
                                            int repeats) {
    std::vector<Samples> samples(marks.size());
    for (int r = 0; r < repeats; ++r) FillOnce(marks, window, samples);
    std::vector<AppendCost> costs;
    for (size_t m = 0; m < marks.size(); ++m)
        costs.push_back({marks[m], Median(samples[m].append), Median(samples[m].appendPaint)});
    return costs;
}

}  // namespace bench
