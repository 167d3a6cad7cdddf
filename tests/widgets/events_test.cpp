// The Qt toolkit maps clicks, edits, focus, keys, menus, timers, message
// boxes and the window's close box to the dialog, as the headless toolkit
// does.

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/qt/AboutBox.h"
#include "toolkit/qt/KeyMapping.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;
using widgettest::RecordingSink;

class EventsTest : public ::testing::Test {
  protected:
    EventsTest() : ui(app::MainDialogSpec()) { ui.SetEventSink(&sink); }
    ~EventsTest() override { ui.SetEventSink(nullptr); }

    // Shows the dialog as the active window, as a user sees it.
    void ShowActive() {
        ui.Dialog()->show();
        ui.Dialog()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ui.Dialog()));
        sink.events.clear();
    }
    // Keys go to the window, where the platform delivers them.
    QWindow* Window() { return ui.Dialog()->windowHandle(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Window(), key, mods);
    }
    // Clicks a button on its caption, where a click counts for check boxes.
    void Click(int id) {
        QWidget* w = ui.Widget(id);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() / 2));
        widgettest::Settle();
    }
    QLineEdit* LineEdit(int id) { return static_cast<QLineEdit*>(ui.Widget(id)); }
    QTextEdit* Pane() { return static_cast<QTextEdit*>(ui.Widget(IDC_OUTPUT)); }
    using Events = std::vector<std::string>;

    widgettest::AppFirst app;
    tk::QtSurface ui;
    RecordingSink sink;
};

TEST_F(EventsTest, ClicksCommandAfterTheCheckStateHasChanged) {
    ShowActive();
    std::vector<bool> checkedAtCommand;
    sink.onCommand = [&](int id) { checkedAtCommand.push_back(ui.IsChecked(id)); };
    Click(IDC_TRACK1);
    Click(IDC_TRACK1);
    Click(1030);
    Click(1031);
    Click(IDC_CLEAR);
    EXPECT_EQ(sink.events, (Events{"command 1008", "command 1008", "command 1030", "command 1031",
                                   "command 1017"}));
    EXPECT_EQ(checkedAtCommand, (std::vector<bool>{true, false, true, true, false}));
    EXPECT_FALSE(ui.IsChecked(1030));
    EXPECT_TRUE(ui.IsChecked(1031));
}

TEST_F(EventsTest, ClickingTheCheckedRadioCommandsAgain) {
    ShowActive();
    Click(IDC_CHINESE);
    Click(IDC_CHINESE);
    EXPECT_EQ(sink.Count("command 1069"), 2u);
    EXPECT_TRUE(ui.IsChecked(IDC_CHINESE));
}

TEST_F(EventsTest, DisabledControlsAndProgrammaticChecksDoNotCommand) {
    ShowActive();
    ui.SetEnabled(IDC_SET_DEVICE, false);
    Click(IDC_SET_DEVICE);
    ui.SetChecked(IDC_TRACK2, true);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(ui.IsEnabled(IDC_SET_DEVICE));
    EXPECT_TRUE(ui.IsChecked(IDC_TRACK2));
}

TEST_F(EventsTest, SpaceOnAFocusedCheckBoxClicksIt) {
    ShowActive();
    ui.SetFocus(IDC_TRACK3);
    Key(Qt::Key_Space);
    widgettest::Settle();
    EXPECT_TRUE(ui.IsChecked(IDC_TRACK3));
    EXPECT_EQ(sink.Count("command 1018"), 1u);
}

TEST_F(EventsTest, ProgrammaticTextChangesNotifyExactlyOnce) {
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "ab");
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "ab");  // unchanged text still notifies, as edits do
    ui.AppendText(IDC_MIDDLE_SEP_TEXT, "c");
    EXPECT_EQ(sink.events, (Events{"change 1052", "change 1052", "change 1052"}));
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "abc");
    // A new text puts the caret at its start; the dialog moves it on purpose.
    ui.SetText(IDC_START_SEP_TEXT, "xyz");
    EXPECT_EQ(LineEdit(IDC_START_SEP_TEXT)->cursorPosition(), 0);
    ui.MoveCaretToEnd(IDC_START_SEP_TEXT);
    EXPECT_EQ(LineEdit(IDC_START_SEP_TEXT)->cursorPosition(), 3);
    // Captions of other controls are no edits and notify nothing.
    sink.events.clear();
    ui.SetText(IDC_STATUS, "09:05:07");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(EventsTest, TypingNotifiesOncePerCharacter) {
    ShowActive();
    ui.SetFocus(IDC_END_SEP_TEXT);
    sink.events.clear();
    Key(Qt::Key_X);
    Key(Qt::Key_Y);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(ui.GetText(IDC_END_SEP_TEXT), "x");
    EXPECT_EQ(sink.Count("change 1054"), 3u);
}

TEST_F(EventsTest, TheDialogMayRewriteAnEditFromItsChangeNotification) {
    ShowActive();
    ui.SetFocus(IDC_END_SEP_TEXT);
    sink.onChange = [&](int id) {
        if (ui.GetText(id).size() <= 2) return;
        ui.SetText(id, ui.GetText(id).substr(0, 2));
        ui.MoveCaretToEnd(id);
    };
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D}) Key(k);
    EXPECT_EQ(ui.GetText(IDC_END_SEP_TEXT), "ab");
}

TEST_F(EventsTest, OutputPaneHoldsCrLfLinesAndAppendsAtTheEnd) {
    ui.SetText(IDC_OUTPUT, "one 09:05:07\r\ntwo 09:05:08\r\n");
    EXPECT_EQ(Pane()->toPlainText(), QStringLiteral("one 09:05:07\ntwo 09:05:08\n"));
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "one 09:05:07\r\ntwo 09:05:08\r\n");

    // Mark the first line: a pane rewritten as a whole would lose the mark.
    QTextBlock first = Pane()->document()->firstBlock();
    first.setUserState(42);
    sink.events.clear();
    ui.AppendText(IDC_OUTPUT, "三 09:05:09\r\n");
    EXPECT_EQ(sink.events, (Events{"change 1000"}));
    EXPECT_EQ(Pane()->document()->firstBlock().userState(), 42);
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "one 09:05:07\r\ntwo 09:05:08\r\n三 09:05:09\r\n");
    ui.MoveCaretToEnd(IDC_OUTPUT);
    EXPECT_TRUE(Pane()->textCursor().atEnd());
}

TEST_F(EventsTest, EnterInTheOutputPaneStartsANewLine) {
    ShowActive();
    ui.SetText(IDC_OUTPUT, "");
    ui.SetFocus(IDC_OUTPUT);
    sink.events.clear();
    Key(Qt::Key_A);
    Key(Qt::Key_Return);
    Key(Qt::Key_B);
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), "a\r\nb");
    EXPECT_EQ(sink.Count("change 1000"), 3u);
    EXPECT_EQ(sink.Count("cancel"), 0u);
}

TEST_F(EventsTest, FocusNotifiesWhenAnEditIsEntered) {
    ui.SetFocus(IDC_MIDDLE_SEP_TEXT);
    ui.SetFocus(IDC_MIDDLE_SEP_TEXT);
    ui.SetFocus(IDC_CLEAR);
    EXPECT_EQ(sink.events, (Events{"focus 1052"}));
    EXPECT_EQ(ui.FocusedControl(), IDC_CLEAR);

    ShowActive();
    Click(IDC_START_SEP_TEXT);
    EXPECT_EQ(ui.FocusedControl(), IDC_START_SEP_TEXT);
    Key(Qt::Key_Tab);  // on to check box 1044
    EXPECT_EQ(ui.FocusedControl(), IDC_END_SEP);
    Key(Qt::Key_Tab);  // on to its field
    EXPECT_EQ(sink.Count("focus 1053"), 1u);
    EXPECT_EQ(sink.Count("focus 1054"), 1u);
    EXPECT_EQ(ui.FocusedControl(), IDC_END_SEP_TEXT);
}

TEST_F(EventsTest, ControlThatLosesItsFocusByBeingDisabledDoesNotPassItToAnEdit) {
    ShowActive();
    ui.SetFocus(IDC_END_SEP);  // the next control in tab order is the edit 1054
    ui.SetEnabled(IDC_END_SEP, false);
    EXPECT_EQ(sink.Count("focus 1054"), 0u);
    EXPECT_NE(QApplication::focusWidget(), ui.Widget(IDC_END_SEP_TEXT));
    EXPECT_EQ(ui.FocusedControl(), IDC_END_SEP);
    // Entering the edit afterwards is reported.
    Click(IDC_END_SEP_TEXT);
    EXPECT_EQ(sink.Count("focus 1054"), 1u);
}

TEST_F(EventsTest, KeyHookSeesKeysBeforeTheFocusedEdit) {
    ShowActive();
    ui.SetFocus(IDC_MIDDLE_SEP_TEXT);
    std::vector<bool> f5DownInHook;
    sink.consume = [&](const tk::KeyEvent& ev) {
        if (ev.vk == tk::VK_F5 && ev.type == tk::KeyEvent::Type::Press)
            f5DownInHook.push_back(ui.Keys().IsDown(tk::VK_F5));
        return ev.vk == 'A' || ev.vk == tk::VK_F5;
    };
    sink.events.clear();
    Key(Qt::Key_F5);
    Key(Qt::Key_A);
    Key(Qt::Key_B);
    EXPECT_EQ(sink.events, (Events{"press 116 @1052", "release 116", "press 65 @1052", "release 65",
                                   "press 66 @1052", "char", "change 1052", "release 66"}));
    EXPECT_EQ(f5DownInHook, std::vector<bool>{true});
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_F5));
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "b");
}

TEST_F(EventsTest, TheHookSeesSpecialKeysByTheirVirtualKeys) {
    ShowActive();
    ui.SetFocus(IDC_MIDDLE_SEP_TEXT);
    sink.consume = [](const tk::KeyEvent&) { return true; };  // nothing moves the focus
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int vk;
    } cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, tk::VK_ESCAPE},
        {Qt::Key_F1, Qt::NoModifier, tk::VK_F1},
        {Qt::Key_F12, Qt::NoModifier, tk::VK_F12},
        {Qt::Key_Tab, Qt::NoModifier, tk::VK_TAB},
        {Qt::Key_Backtab, Qt::ShiftModifier, tk::VK_TAB},
        {Qt::Key_Return, Qt::NoModifier, tk::VK_RETURN},
        {Qt::Key_Super_L, Qt::NoModifier, tk::VK_LWIN},
        {Qt::Key_Super_R, Qt::NoModifier, tk::VK_RWIN},
        {Qt::Key_Control, Qt::NoModifier, tk::VK_CONTROL},
    };
    for (const auto& c : cases) {
        sink.events.clear();
        Key(c.key, c.mods);
        const std::string press = "press " + std::to_string(c.vk) + " @1052";
        EXPECT_EQ(sink.Count(press), 1u) << c.vk;
    }
    EXPECT_EQ(ui.FocusedControl(), IDC_MIDDLE_SEP_TEXT);
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "");
}

TEST_F(EventsTest, QtKeysMapToVirtualKeys) {
    const struct {
        int qt;
        int vk;
    } cases[] = {
        {Qt::Key_Escape, tk::VK_ESCAPE},
        {Qt::Key_F1, tk::VK_F1},
        {Qt::Key_F5, tk::VK_F5},
        {Qt::Key_F12, tk::VK_F12},
        {Qt::Key_F13, 0},
        {Qt::Key_ScrollLock, tk::VK_SCROLL},
        {Qt::Key_Pause, tk::VK_PAUSE},
        {Qt::Key_Backspace, tk::VK_BACK},
        {Qt::Key_Insert, tk::VK_INSERT},
        {Qt::Key_Home, tk::VK_HOME},
        {Qt::Key_NumLock, tk::VK_NUMLOCK},
        {Qt::Key_Tab, tk::VK_TAB},
        {Qt::Key_Backtab, tk::VK_TAB},
        {Qt::Key_Delete, tk::VK_DELETE},
        {Qt::Key_CapsLock, tk::VK_CAPITAL},
        {Qt::Key_Return, tk::VK_RETURN},
        {Qt::Key_Enter, tk::VK_RETURN},
        {Qt::Key_Shift, tk::VK_SHIFT},
        {Qt::Key_Control, tk::VK_CONTROL},
        {Qt::Key_Alt, tk::VK_MENU},
        {Qt::Key_Super_L, tk::VK_LWIN},
        {Qt::Key_Meta, tk::VK_LWIN},
        {Qt::Key_Super_R, tk::VK_RWIN},
        {Qt::Key_Up, tk::VK_UP},
        {Qt::Key_Down, tk::VK_DOWN},
        {Qt::Key_Left, tk::VK_LEFT},
        {Qt::Key_Right, tk::VK_RIGHT},
        {Qt::Key_A, 'A'},
        {Qt::Key_Z, 'Z'},
        {Qt::Key_0, '0'},
        {Qt::Key_Print, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(tk::VirtualKeyOf(c.qt), c.vk) << c.qt;
}

TEST_F(EventsTest, AutoRepeatKeepsAnActedOnKeyUp) {
    ShowActive();
    sink.consume = [&](const tk::KeyEvent& ev) {
        if (ev.vk == tk::VK_F5 && ev.type == tk::KeyEvent::Type::Press)
            ui.Keys().WaitForRelease(tk::VK_F5);
        return true;
    };
    QTest::simulateEvent(Window(), true, Qt::Key_F5, Qt::NoModifier, QString(), false);
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_F5));
    // The platform's auto-repeat: a release and a press, both marked repeated.
    QTest::simulateEvent(Window(), false, Qt::Key_F5, Qt::NoModifier, QString(), true);
    QTest::simulateEvent(Window(), true, Qt::Key_F5, Qt::NoModifier, QString(), true);
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_F5));
    EXPECT_EQ(sink.Count("release 116"), 0u);
    QTest::simulateEvent(Window(), false, Qt::Key_F5, Qt::NoModifier, QString(), false);
    QTest::simulateEvent(Window(), true, Qt::Key_F5, Qt::NoModifier, QString(), false);
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_F5));  // acted on again by the hook
    EXPECT_EQ(sink.Count("release 116"), 1u);
    // The repeat of an acted-on press reached no one, not even the hook.
    EXPECT_EQ(std::count_if(sink.events.begin(), sink.events.end(),
                            [](const std::string& e) { return e.rfind("press 116 ", 0) == 0; }),
              2);
}

TEST_F(EventsTest, KeysHeldWhenTheApplicationLosesTheKeyboardCountAsUp) {
    ShowActive();
    QTest::simulateEvent(Window(), true, Qt::Key_Shift, Qt::NoModifier, QString(), false);
    EXPECT_TRUE(ui.Keys().IsDown(tk::VK_SHIFT));
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(ui.Keys().IsDown(tk::VK_SHIFT));
}

TEST_F(EventsTest, EscapeTheHookLetsThroughIsTheCancelCommand) {
    ShowActive();
    for (int id : {IDC_MIDDLE_SEP_TEXT, IDC_OUTPUT, IDC_CLEAR}) {
        ui.SetFocus(id);
        sink.events.clear();
        Key(Qt::Key_Escape);
        EXPECT_EQ(sink.Count("cancel"), 1u) << id;
        EXPECT_TRUE(ui.Dialog()->isVisible());
    }
    sink.consume = [](const tk::KeyEvent& ev) { return ev.vk == tk::VK_ESCAPE; };
    sink.events.clear();
    Key(Qt::Key_Escape);
    EXPECT_EQ(sink.Count("cancel"), 0u);
}

TEST_F(EventsTest, CloseBoxAsksTheDialogAndClosesOnlyWhenItEnded) {
    ShowActive();
    EXPECT_FALSE(ui.Dialog()->close());
    widgettest::Settle();
    EXPECT_EQ(sink.events, (Events{"cancel"}));
    EXPECT_TRUE(ui.Dialog()->isVisible());
    sink.onCancel = [&] { ui.EndDialog(IDCANCEL); };
    ui.Dialog()->close();
    widgettest::Settle();
    EXPECT_FALSE(ui.Dialog()->isVisible());
    EXPECT_EQ(ui.RunModal(), IDCANCEL);
}

TEST_F(EventsTest, MenuCommandsGreyedItemsAndRebuildingFromACommand) {
    tk::MenuBar bar;
    bar.items.push_back({0, "关于软件 ", true, {{ID_INSTRUCTIONS, "软件操作说明", true, {}}}});
    bar.items.push_back({ID_TOGGLE_VIEW, "切换到键盘设置界面", false, {}});
    bar.items.push_back({ID_EXIT, "退出 ", true, {}});
    ui.SetMenuBar(bar);
    QList<QAction*> actions = ui.MenuBarWidget()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_FALSE(actions[1]->isEnabled());
    actions[0]->menu()->actions().at(0)->trigger();
    actions[2]->trigger();
    widgettest::Settle();
    EXPECT_EQ(sink.events, (Events{"command 32780", "command 32782"}));

    // A command that rebuilds the bar while its own item is being triggered.
    tk::MenuBar next = bar;
    next.items[1].enabled = true;
    next.items[1].text = "切换到普通设置界面";
    sink.onCommand = [&](int) { ui.SetMenuBar(next); };
    ui.MenuBarWidget()->actions().at(2)->trigger();
    widgettest::Settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    actions = ui.MenuBarWidget()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[1]->isEnabled());
    EXPECT_EQ(actions[1]->text(), QStringLiteral("切换到普通设置界面"));
    EXPECT_EQ(ui.CurrentMenuBar().items[1].text, "切换到普通设置界面");
}

TEST_F(EventsTest, AboutEntryIsOnTheBackgroundMenuAndThePaneMenu) {
    ShowActive();
    ui.AddAboutEntry("关于Vorn软件（About Vorn）");
    QWidget* background = ui.Widget(IDC_OUTPUT)->parentWidget();
    for (QWidget* target : {background, Pane()->viewport()}) {
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(2, 2),
                             target->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(target, &ev);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* about = menu->actions().last();
        EXPECT_EQ(about->text(), QStringLiteral("关于Vorn软件（About Vorn）"));
        about->trigger();
        menu->close();
        widgettest::Settle();
    }
    EXPECT_EQ(sink.Count("about"), 2u);
}

TEST_F(EventsTest, MessageBoxesBelongToTheDialogAndReturnTheAnswer) {
    const struct {
        tk::MsgBoxButtons buttons;
        QMessageBox::StandardButton press;
        tk::MsgBoxResult result;
    } cases[] = {
        {tk::MsgBoxButtons::YesNo, QMessageBox::Yes, tk::MsgBoxResult::Yes},
        {tk::MsgBoxButtons::YesNo, QMessageBox::No, tk::MsgBoxResult::No},
        {tk::MsgBoxButtons::Ok, QMessageBox::Ok, tk::MsgBoxResult::Ok},
    };
    for (const auto& c : cases) {
        QString title, text;
        QWidget* owner = nullptr;
        widgettest::WhenModalOpens([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            owner = box->parentWidget();
            box->button(c.press)->click();
        });
        EXPECT_EQ(ui.MessageBox("你真的要退出吗？\r\n", "退出提示", c.buttons), c.result);
        EXPECT_EQ(title, QStringLiteral("退出提示"));
        EXPECT_EQ(text, QStringLiteral("你真的要退出吗？\n"));
        EXPECT_EQ(owner, ui.Dialog());
    }
}

TEST_F(EventsTest, AboutBoxShowsTheTextsItIsGiven) {
    QString title, product, notice, ok;
    bool hasIcon = false;
    widgettest::WhenModalOpens([&](QWidget* w) {
        ASSERT_NE(w, nullptr);
        title = w->windowTitle();
        product = w->findChild<QLabel*>("ctl_1072")->text();
        notice = w->findChild<QLabel*>("ctl_1073")->text();
        auto* button = w->findChild<QPushButton*>("ctl_1");
        ok = button->text();
        for (QLabel* l : w->findChildren<QLabel*>()) hasIcon |= !l->pixmap().isNull();
        button->click();
    });
    ui.ShowAboutBox({"关于Vorn软件", "确定", "USB读卡器设置软件", "一行说明"});
    EXPECT_EQ(title, QStringLiteral("关于Vorn软件"));
    EXPECT_EQ(product, QStringLiteral("USB读卡器设置软件"));
    EXPECT_EQ(notice, QStringLiteral("一行说明"));
    EXPECT_EQ(ok, QStringLiteral("确定"));
    EXPECT_TRUE(hasIcon);
}

TEST_F(EventsTest, TimerDeliversItsIdAndARestartReplacesIt) {
    ui.StartTimer(CLOCK_TIMER, 250);
    ui.StartTimer(CLOCK_TIMER, CLOCK_PERIOD_MS);
    const QList<QTimer*> timers = ui.Dialog()->findChildren<QTimer*>();
    QTimer* clockTimer = nullptr;
    for (QTimer* t : timers)
        if (t->isActive() && t->interval() == CLOCK_PERIOD_MS) clockTimer = t;
    ASSERT_NE(clockTimer, nullptr);
    int active = 0;
    for (QTimer* t : timers) active += t->isActive() && t->interval() == 250;
    EXPECT_EQ(active, 0);
    ASSERT_TRUE(QMetaObject::invokeMethod(clockTimer, "timeout", Qt::DirectConnection));
    EXPECT_EQ(sink.events, (Events{"timer 2"}));
}

}  // namespace
