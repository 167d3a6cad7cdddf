#pragma once
// The cost of one line in the output pane as the pane grows: the dialog's
// AppendOutput over the Qt toolkit, in a shown window (needs a QApplication).

#include <vector>

namespace bench {

struct AppendCost {
    int line = 0;            // the last line of the measured window
    double append = 0;       // CPU seconds per line
    double appendPaint = 0;  // the same with the event loop's turn (the paint) after each line
};

// Fills a fresh pane up to the last mark, repeats times; times each line of
// the window that ends at each mark. The cost is the median over all the
// windows' lines: the machine may be shared.
std::vector<AppendCost> MeasureAppendOutput(const std::vector<int>& marks, int window, int repeats);

}  // namespace bench
