// The main dialog over the Qt toolkit: Esc, the close box and the exit
// question behave as over the headless toolkit.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "keypad/KeyNameTable.h"
#include "sim/KeypadModel.h"
#include "sim/ReaderModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;

class DialogOverQtTest : public ::testing::Test {
  protected:
    DialogOverQtTest() : clock({2026, 12, 7, 9, 5, 7, 0}), port(clock), ui(app::MainDialogSpec()) {}

    void Start() {
        dlg = std::make_unique<CReaderConfigDlg>(ui, port, port, clock);
        dlg->OnInitDialog();
        ui.Dialog()->show();
        ui.Dialog()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ui.Dialog()));
    }
    // Answers the exit question that opens next, from inside its loop.
    void AnswerNext(tk::MsgBoxResult answer) { ui.Modal().QueueAnswer(answer); }

    widgettest::AppFirst app;
    sim::VirtualClock clock;
    sim::VirtualHidPort port;
    tk::QtSurface ui;
    std::unique_ptr<CReaderConfigDlg> dlg;
};

TEST_F(DialogOverQtTest, StartWithAReaderEnablesTheDeviceButtons) {
    port.AttachQuietly(std::make_unique<sim::AckingModel>());
    Start();
    EXPECT_EQ(ui.GetText(IDC_OUTPUT).substr(ui.GetText(IDC_OUTPUT).rfind("设备")),
              "设备已连接！ 09:05:07\r\n");
    for (int id : {IDC_SET_DEVICE, IDC_READ_DEVICE, IDC_BATCH}) EXPECT_TRUE(ui.IsEnabled(id));
    EXPECT_EQ(QApplication::focusWidget(), ui.Widget(IDC_OUTPUT));
}

TEST_F(DialogOverQtTest, EscBeforeTheKeyFieldsAreFilledIsLoggedAndTheDialogStays) {
    Start();
    QTest::keyClick(ui.Dialog()->windowHandle(), Qt::Key_Escape);
    const std::string out = ui.GetText(IDC_OUTPUT);
    const std::string line = "你按下了 ESC 功能键 ！ 09:05:07\r\n";
    ASSERT_GE(out.size(), line.size());
    EXPECT_EQ(out.substr(out.size() - line.size()), line);
    EXPECT_TRUE(ui.Dialog()->isVisible());
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_ESCAPE));
    EXPECT_EQ(dlg->Result(), 0);
}

TEST_F(DialogOverQtTest, CloseBoxAsksTheExitQuestion) {
    Start();
    const std::string before = ui.GetText(IDC_OUTPUT);
    AnswerNext(tk::MsgBoxResult::No);
    EXPECT_FALSE(ui.Dialog()->close());
    widgettest::Settle();
    EXPECT_FALSE(ui.Modal().HasAnswers());
    EXPECT_TRUE(ui.Dialog()->isVisible());
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), before);

    AnswerNext(tk::MsgBoxResult::Yes);
    ui.Dialog()->close();
    widgettest::Settle();
    EXPECT_FALSE(ui.Dialog()->isVisible());
    EXPECT_EQ(dlg->Result(), IDCANCEL);
    EXPECT_EQ(ui.RunModal(), IDCANCEL);
}

TEST_F(DialogOverQtTest, ExitMenuCommandAsksTheSameQuestion) {
    Start();
    QAction* exit = ui.MenuBarWidget()->actions().at(2);
    AnswerNext(tk::MsgBoxResult::Yes);
    exit->trigger();
    widgettest::Settle();
    EXPECT_EQ(dlg->Result(), IDCANCEL);
    EXPECT_FALSE(ui.Dialog()->isVisible());
}

TEST_F(DialogOverQtTest, ClearButtonEmptiesThePaneAndFocusesIt) {
    Start();
    QTest::mouseClick(ui.Widget(IDC_CLEAR), Qt::LeftButton);
    widgettest::Settle();
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "");
    EXPECT_EQ(QApplication::focusWidget(), ui.Widget(IDC_OUTPUT));
    dlg->AppendOutput("one");
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "one 09:05:07\r\n");
}

TEST_F(DialogOverQtTest, RealKeyPressesReachTheHookInTheKeyboardView) {
    port.AttachQuietly(std::make_unique<sim::KeypadModel>(std::make_unique<sim::AckingModel>(),
                                                          DEFAULT_KEY_CODES));
    Start();
    dlg->OnCommand(ID_TOGGLE_VIEW);
    ASSERT_TRUE(ui.IsVisible(KeyFieldId(3)));
    QWidget* key3 = ui.Widget(KeyFieldId(3));
    QTest::mouseClick(key3, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), key3);

    QTest::keyClick(ui.Dialog()->windowHandle(), Qt::Key_F5);
    EXPECT_EQ(ui.GetText(KeyFieldId(3)), "F5");
    EXPECT_EQ(QApplication::focusWidget(), key3);

    QTest::keyClick(ui.Dialog()->windowHandle(), Qt::Key_Tab);
    EXPECT_EQ(ui.GetText(KeyFieldId(3)), "TAB");
    EXPECT_EQ(QApplication::focusWidget(), key3);  // the Tab did not move the focus

    QTest::keyClick(ui.Dialog()->windowHandle(), Qt::Key_Backspace);
    EXPECT_EQ(ui.GetText(KeyFieldId(3)), "清除");
}

}  // namespace
