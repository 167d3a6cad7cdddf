#include "bench/IdleBench.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <string>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "base/Clock.h"
#include "bench/ShownDialog.h"
#include "bench/Stats.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/QtSurface.h"

namespace bench {
namespace {

constexpr int CLOCK_TIMER = 2;

// Passes everything on to the dialog; the clock's tick first blanks the
// status line, so that every tick writes it twice, as the template does.
class TemplateClock : public tk::DialogEvents {
  public:
    TemplateClock(CReaderConfigDlg& dlg, tk::DialogSurface& ui) : m_dlg(dlg), m_ui(ui) {}
    void OnCommand(int id) override { m_dlg.OnCommand(id); }
    void OnEditChange(int id) override { m_dlg.OnEditChange(id); }
    void OnEditFocus(int id) override { m_dlg.OnEditFocus(id); }
    bool PreTranslateMessage(const tk::KeyEvent& ev) override {
        return m_dlg.PreTranslateMessage(ev);
    }
    void OnTimer(int timerId) override {
        if (timerId == CLOCK_TIMER) m_ui.SetText(ids::IDC_STATUS, std::string(35, ' '));
        m_dlg.OnTimer(timerId);
    }
    void OnCancel() override { m_dlg.OnCancel(); }
    void OnAboutCommand() override { m_dlg.OnAboutCommand(); }

  private:
    CReaderConfigDlg& m_dlg;
    tk::DialogSurface& m_ui;
};

class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// CPU seconds over seconds of real time in the event loop; paints counted.
double LeaveAlone(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    const double start = CpuSeconds();
    loop.exec();
    return CpuSeconds() - start;
}

}  // namespace

IdleCost MeasureIdle(double seconds, int rounds) {
    bench::ShownDialog<tk::SystemClock> shown;
    auto& [clock, port, surface, dlg] = shown;
    TemplateClock templateClock(dlg, surface);
    PaintCounter counter;
    surface.Widget(ids::IDC_STATUS)->installEventFilter(&counter);

    IdleCost cost;
    const double slice = seconds / rounds;
    int paints = 0, templatePaints = 0;
    for (int r = 0; r < rounds; ++r) {
        surface.SetEventSink(&dlg);
        counter.paints = 0;
        cost.cpu += LeaveAlone(slice);
        paints += counter.paints;
        surface.SetEventSink(&templateClock);
        counter.paints = 0;
        cost.templateCpu += LeaveAlone(slice);
        templatePaints += counter.paints;
    }
    surface.SetEventSink(&dlg);
    surface.Widget(ids::IDC_STATUS)->removeEventFilter(&counter);
    cost.seconds = seconds;
    cost.paints = paints / seconds;
    cost.templatePaints = templatePaints / seconds;
    return cost;
}

}  // namespace bench
