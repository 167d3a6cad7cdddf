// The window's size in pixels: dialog units from the dialog font as the
// template's platform converts them, a window that fits the common screens,
// and scrolling where a screen is smaller still. Also the output pane's
// bound on its lines.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <string>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "toolkit/qt/DialogUnits.h"
#include "toolkit/qt/LogEdit.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;

class WindowFitTest : public ::testing::Test {
  protected:
    WindowFitTest() { widgettest::App(); }
};

// The base units of Debian's CJK fonts at 9 points and 96 dpi: the average
// Latin letter and the em box, which is the original font's 6 x 12.
TEST_F(WindowFitTest, BaseUnitsOfTheCjkFonts) {
    struct Case {
        const char* family;
        int cx, cy;
    };
    std::string missing;
    for (const Case& c : {Case{"WenQuanYi Zen Hei", 6, 12}, Case{"Noto Sans CJK SC", 7, 12}}) {
        if (!QFontDatabase::families().contains(QString::fromLatin1(c.family))) {
            missing += std::string(missing.empty() ? "" : ", ") + c.family;
            continue;
        }
        QFont font(QString::fromLatin1(c.family), 9);
        const tk::BaseUnits u = tk::BaseUnitsOf(font);
        EXPECT_EQ(u.cx, c.cx) << c.family;
        EXPECT_EQ(u.cy, c.cy) << c.family;
    }
    // Said, not passed silently: scripts/install-deps.sh installs both.
    if (!missing.empty()) GTEST_SKIP() << "not installed, not measured: " << missing;
}

// Room a desktop leaves a window: a title bar (about 30 pixels) and a panel
// (about 40).
constexpr int DESKTOP_CHROME = 70;

TEST_F(WindowFitTest, WholeWindowFitsTheCommonScreens) {
    tk::QtSurface ui(app::MainDialogSpec());
    const QSize full = ui.Window()->FullSize();
    struct Screen {
        const char* name;
        QSize logical;  // the screen in device-independent pixels
    };
    for (const Screen& s :
         {Screen{"1366x768", {1366, 768}}, Screen{"1920x1080 at 150%", {1280, 720}}}) {
        EXPECT_LE(full.width(), s.logical.width()) << s.name;
        EXPECT_LE(full.height() + DESKTOP_CHROME, s.logical.height()) << s.name;
    }
}

TEST_F(WindowFitTest, SmallScreenScrollsToEveryControl) {
    tk::QtSurface ui(app::MainDialogSpec());
    ui.Dialog()->show();
    const QSize screen = ui.Dialog()->screen()->availableGeometry().size();
    const QSize full = ui.Window()->FullSize();
    if (screen.width() >= full.width() && screen.height() >= full.height())
        GTEST_SKIP() << "the test screen holds the whole window";
    EXPECT_LE(ui.Dialog()->width(), screen.width());
    EXPECT_LE(ui.Dialog()->height(), screen.height());
    QScrollArea* area = ui.Window()->ScrollArea();
    for (int id : {IDC_SET_DEVICE, IDC_ENGLISH, IDC_CLEAR, IDC_OUTPUT, IDC_COMPUTER_SLOW}) {
        QWidget* w = ui.Widget(id);
        area->ensureWidgetVisible(w, 0, 0);
        const QRect shown = QRect(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(area->viewport()->rect().intersects(shown)) << id;
        EXPECT_TRUE(area->viewport()->rect().contains(shown.topLeft())) << id;
    }
    ui.Dialog()->hide();
}

TEST_F(WindowFitTest, PaneDropsItsOldestLinesWithANote) {
    tk::QtSurface ui(app::MainDialogSpec());
    auto* pane = static_cast<tk::LogEdit*>(ui.Widget(IDC_OUTPUT));
    const int total = tk::LogEdit::MAX_LINES + 10;
    for (int i = 1; i <= total; ++i)
        ui.AppendText(IDC_OUTPUT, "line " + std::to_string(i) + "\r\n");
    const QTextDocument* doc = pane->document();
    EXPECT_LE(doc->blockCount(), tk::LogEdit::MAX_LINES);
    // The last block is the empty one after the final line break.
    const QTextBlock last = doc->lastBlock().previous();
    EXPECT_EQ(last.text(), QStringLiteral("line %1").arg(total));
    const long long kept = doc->blockCount() - 2;  // less the note and the empty block
    EXPECT_EQ(pane->DroppedLines(), total - kept);
    EXPECT_EQ(doc->firstBlock().text(), tk::LogEdit::DroppedNote(pane->DroppedLines()));
    EXPECT_EQ(doc->firstBlock().next().text(),
              QStringLiteral("line %1").arg(pane->DroppedLines() + 1));
    // A new text starts the count again.
    ui.SetText(IDC_OUTPUT, "fresh\r\n");
    EXPECT_EQ(pane->DroppedLines(), 0);
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("fresh\n"));
}

}  // namespace
