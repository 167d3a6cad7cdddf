// The main dialog over the Qt toolkit: Esc, the close box and the exit
// question behave as over the headless toolkit.

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

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

TEST_F(DialogOverQtTest, AboutWorksAnyNumberOfTimesFromBothMenus) {
    Start();
    QWidget* background = ui.Widget(IDC_OUTPUT)->parentWidget();
    QWidget* pane = static_cast<QTextEdit*>(ui.Widget(IDC_OUTPUT))->viewport();
    for (int round = 0; round < 3; ++round) {
        for (QWidget* target : {background, pane}) {
            ui.Modal().QueueAnswer(tk::MsgBoxResult::Ok);
            QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(2, 2),
                                   target->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(target, &open);
            QMenu* menu = ui.OpenContextMenu();
            ASSERT_NE(menu, nullptr);
            // The profile entries follow About.
            QAction* about = nullptr;
            for (QAction* action : menu->actions())
                if (action->text().contains("About")) about = action;
            ASSERT_NE(about, nullptr);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(about).center());
            ui.FinishOperations();
        }
    }
    EXPECT_EQ(ui.Modal().BoxesRun(), 6);
    EXPECT_FALSE(ui.Modal().HasAnswers());
    // What followed About when the menu's memory was still in use.
    QTest::mouseClick(ui.Widget(IDC_ENGLISH), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
    ui.FinishOperations();
    EXPECT_EQ(ui.GetText(IDC_SET_DEVICE), "Set Device");
    ui.Modal().QueueAnswer(tk::MsgBoxResult::Yes);
    ASSERT_TRUE(ui.TriggerMenuCommand(ID_EXIT));
    ui.FinishOperations();
    EXPECT_EQ(dlg->Result(), IDCANCEL);
}

TEST_F(DialogOverQtTest, QtsOwnTextsFollowTheLanguageAndBoxesUseTheDialogsFont) {
    Start();
    const struct {
        int languageClick;  // 0: as the tool starts
        const char* yes;
        const char* undo;
    } cases[] = {
        {0, "是", "撤消"},
        {IDC_ENGLISH, "Yes", "Undo"},
        {IDC_CHINESE, "是", "撤消"},
    };
    for (const auto& c : cases) {
        if (c.languageClick != 0) {
            QTest::mouseClick(ui.Widget(c.languageClick), Qt::LeftButton, Qt::NoModifier,
                              QPoint(6, 6));
            ui.FinishOperations();
        }
        QString yes, label;
        QFont font;
        ui.Modal().QueueAnswer(tk::MsgBoxResult::No, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            yes = box->button(QMessageBox::Yes)->text();
            font = box->font();
            if (auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                label = text->font().family();
        });
        ASSERT_TRUE(ui.TriggerMenuCommand(ID_EXIT));
        ui.FinishOperations();
        EXPECT_TRUE(yes.contains(QString::fromUtf8(c.yes))) << yes.toStdString();
        EXPECT_EQ(font, ui.Dialog()->font());
        EXPECT_EQ(label, ui.Dialog()->font().family());

        std::unique_ptr<QMenu> menu(
            static_cast<QTextEdit*>(ui.Widget(IDC_OUTPUT))->createStandardContextMenu());
        ASSERT_FALSE(menu->actions().isEmpty());
        EXPECT_TRUE(menu->actions().first()->text().contains(QString::fromUtf8(c.undo)))
            << menu->actions().first()->text().toStdString();
    }
    EXPECT_EQ(dlg->Result(), 0);
}

}  // namespace
