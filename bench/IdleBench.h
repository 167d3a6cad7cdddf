#pragma once
// The dialog left alone: CPU time of the shown window over a stretch of real
// time with its clock ticking, against the same window whose clock does what
// the template's does on every tick (blank the status line, write the time),
// in turns (needs a QApplication).

namespace bench {

struct IdleCost {
    double seconds = 0;         // real time each side was left alone
    double cpu = 0;             // CPU seconds of the dialog as it is
    double templateCpu = 0;     // CPU seconds with the template's clock
    double paints = 0;          // status line paints per second, as it is
    double templatePaints = 0;  // the same with the template's clock
};

IdleCost MeasureIdle(double seconds, int rounds);

}  // namespace bench
