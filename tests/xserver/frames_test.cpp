// The sentinel frame has no caption; its line stands where its captioned
// neighbours draw theirs, as on the template's platform (all three at y 216
// or 217 there), drawn by the X11 platform as the tool shows it.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;

// The row where a group box's frame draws its top line: its top right
// corner, where the box's right edge, in the line's colour, begins (a line
// that only crosses the edge, such as an enclosing frame's, is one pixel
// high); -1 for none.
int FrameTopLine(QWidget* window, const QImage& shot, QWidget* box) {
    const QRgb line = box->palette().window().color().darker(125).rgb();
    const QPoint top = box->mapTo(window, QPoint(box->width() - 1, 0));
    auto edge = [&](int y) {
        for (int dy = 0; dy < 3; ++dy)
            if (shot.pixel(top.x(), y + dy) != line) return false;
        return true;
    };
    for (int y = top.y(); y < top.y() + box->height() / 2; ++y)
        if (edge(y)) return y;
    return -1;
}

TEST(FramesOnXTest, CaptionlessFrameLineStandsWithItsNeighbours) {
    widgettest::App();
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    tk::QtSurface ui(app::MainDialogSpec());
    CReaderConfigDlg dlg(ui, port, port, clock);
    dlg.OnInitDialog();  // the general view alone
    ui.Dialog()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.Dialog()));
    QWidget* window = ui.Dialog();
    const QImage shot = window->grab().toImage();
    const int sentinels = FrameTopLine(window, shot, ui.Widget(IDC_SENTINEL_GROUP));
    ASSERT_GE(sentinels, 0);
    for (int id : {IDC_TRACK_GROUP, IDC_CR_GROUP}) {
        const int neighbour = FrameTopLine(window, shot, ui.Widget(id));
        ASSERT_GE(neighbour, 0) << id;
        EXPECT_LE(std::abs(sentinels - neighbour), 2) << id;  // a dialog unit is 1.5 px
    }
}

}  // namespace
