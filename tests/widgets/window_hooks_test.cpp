// The hooks that watch and drive the window from outside: menu commands by
// id, the first paint, and the screenshot tour.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "toolkit/qt/FirstPaint.h"
#include "toolkit/qt/QtSurface.h"
#include "toolkit/qt/ScreenshotTour.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;
using widgettest::RecordingSink;
using Events = std::vector<std::string>;

class WindowHooksTest : public ::testing::Test {
  protected:
    WindowHooksTest() : ui(app::MainDialogSpec()) {
        tk::MenuBar bar;
        bar.items.push_back({0, "关于软件 ", true, {{ID_INSTRUCTIONS, "软件操作说明", true, {}}}});
        bar.items.push_back({ID_TOGGLE_VIEW, "切换到键盘设置界面", true, {}});
        bar.items.push_back({ID_EXIT, "退出 ", false, {}});
        ui.SetMenuBar(bar);
        ui.SetEventSink(&sink);
    }
    ~WindowHooksTest() override { ui.SetEventSink(nullptr); }

    widgettest::AppFirst app;
    tk::QtSurface ui;
    RecordingSink sink;
};

TEST_F(WindowHooksTest, MenuCommandsByIdOnlyWhenTheUserCouldChooseThem) {
    EXPECT_TRUE(ui.TriggerMenuCommand(ID_TOGGLE_VIEW));
    EXPECT_TRUE(ui.TriggerMenuCommand(ID_INSTRUCTIONS));  // inside the popup
    EXPECT_FALSE(ui.TriggerMenuCommand(ID_EXIT));         // greyed
    EXPECT_FALSE(ui.TriggerMenuCommand(ID_UPDATE));       // not on the bar
    EXPECT_FALSE(ui.TriggerMenuCommand(0));               // the popup's own entry
    widgettest::Settle();
    EXPECT_EQ(sink.events, (Events{"command 32797", "command 32780"}));

    tk::MenuBar greyedPopup = ui.CurrentMenuBar();
    greyedPopup.items[0].enabled = false;
    ui.SetMenuBar(greyedPopup);
    EXPECT_FALSE(ui.TriggerMenuCommand(ID_INSTRUCTIONS));
    widgettest::Settle();
    EXPECT_EQ(sink.events.size(), 2u);
}

TEST_F(WindowHooksTest, FirstPaintActionRunsOnceAfterTheWindowIsDrawn) {
    int runs = 0;
    bool visibleThen = false;
    tk::AfterFirstPaint(ui.Dialog(), [&] {
        ++runs;
        visibleThen = ui.Dialog()->isVisible();
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);  // not drawn while hidden

    ui.Dialog()->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 5000));
    EXPECT_TRUE(visibleThen);
    ui.Dialog()->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
}

TEST_F(WindowHooksTest, FirstPaintActionIsDroppedWithItsWindow) {
    int runs = 0;
    {
        auto* label = new QLabel(QStringLiteral("x"));
        tk::AfterFirstPaint(label, [&] { ++runs; });
        label->show();
        label->repaint();
        delete label;  // before the event loop turns
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
}

TEST_F(WindowHooksTest, TourClicksChoosesAndSavesTheWindowAfterEachStep) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const std::string dir = QDir(tmp.path()).filePath(QStringLiteral("shots/new")).toStdString();
    ui.Dialog()->show();
    std::string error;
    ASSERT_TRUE(tk::RunScreenshotTour(
        ui, dir, {{0, 0, "a.png"}, {IDC_ENGLISH, 0, "b.png"}, {0, ID_TOGGLE_VIEW, "c.png"}},
        &error))
        << error;
    EXPECT_EQ(sink.Count("command 1070"), 1u);
    EXPECT_EQ(sink.Count("command 32797"), 1u);
    const qreal dpr = ui.Dialog()->devicePixelRatioF();
    for (const char* file : {"a.png", "b.png", "c.png"}) {
        QImage image(QString::fromStdString(dir + "/" + file));
        ASSERT_FALSE(image.isNull()) << file;
        EXPECT_EQ(image.size(), ui.Dialog()->size() * dpr) << file;
    }
}

TEST_F(WindowHooksTest, TourStopsAtAStepItCannotDo) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const std::string dir = tmp.path().toStdString();
    std::string error;
    EXPECT_FALSE(
        tk::RunScreenshotTour(ui, dir, {{0, ID_EXIT, "greyed.png"}, {0, 0, "later.png"}}, &error));
    EXPECT_NE(error.find("32782"), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir + "/greyed.png")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir + "/later.png")));

    ui.SetEnabled(IDC_SET_DEVICE, false);
    EXPECT_FALSE(tk::RunScreenshotTour(ui, dir, {{IDC_SET_DEVICE, 0, "x.png"}}, &error));
    EXPECT_NE(error.find("1024"), std::string::npos) << error;
    EXPECT_TRUE(sink.events.empty());
}

}  // namespace
