// The toolkit contract (toolkit/DialogSurface.h), run as one suite over the
// headless toolkit and the real Qt widgets, so that the two cannot differ in
// focus, key delivery, default buttons, modal loops, operations, menus and
// accessibility actions; then the dialog over both, from its start-up state
// to what a user does in it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/ViewSets.h"
#include "app/reader/SettingsControls.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "widgets/ToolkitDrivers.h"

namespace {

using namespace ids;
using widgettest::Driver;
using widgettest::RecordingSink;
using widgettest::Toolkit;
using Events = std::vector<std::string>;

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// --- The toolkit alone, with a recording dialog. ---

class ToolkitContract : public ::testing::TestWithParam<Toolkit> {
  protected:
    ToolkitContract() : driver(widgettest::MakeDriver(GetParam(), app::MainDialogSpec())) {
        ui().SetEventSink(&sink);
        driver->Show();
    }
    ~ToolkitContract() override { ui().SetEventSink(nullptr); }
    tk::DialogSurface& ui() { return driver->Ui(); }
    size_t Commands() const {
        size_t n = 0;
        for (const std::string& e : sink.events) n += e.rfind("command", 0) == 0;
        return n;
    }

    std::unique_ptr<Driver> driver;
    RecordingSink sink;
};

TEST_P(ToolkitContract, EnterClicksNoButton) {
    // The table names no default button: Enter on an edit, a check box, a
    // radio button or a push button reaches no command and no cancel.
    for (int id : {IDC_MIDDLE_SEP_TEXT, IDC_TRACK1, IDC_FORMAT_FIRST, IDC_SET_DEVICE, IDC_CLEAR}) {
        ui().SetFocus(id);
        sink.events.clear();
        driver->Press(tk::VK_RETURN);
        EXPECT_EQ(Commands(), 0u) << id;
        EXPECT_EQ(sink.Count("cancel"), 0u) << id;
    }
}

TEST_P(ToolkitContract, KeysGoToTheControlTheyWerePressedIn) {
    // The hook announces the key in the output pane, which takes the focus,
    // as the dialog's announcements do; the key still edits the separator.
    ui().SetText(IDC_MIDDLE_SEP_TEXT, "ab");
    driver->ClickInto(IDC_MIDDLE_SEP_TEXT);
    sink.consume = [&](const tk::KeyEvent& ev) {
        if (ev.type == tk::KeyEvent::Type::Press && ev.vk != 0) {
            ui().AppendText(IDC_OUTPUT, "key\r\n");
            ui().MoveCaretToEnd(IDC_OUTPUT);
            ui().SetFocus(IDC_OUTPUT);
        }
        return false;
    };
    driver->Press(tk::VK_BACK);
    EXPECT_EQ(ui().GetText(IDC_MIDDLE_SEP_TEXT), "a");
    EXPECT_EQ(ui().GetText(IDC_OUTPUT), "key\r\n");
    driver->ClickInto(IDC_MIDDLE_SEP_TEXT);
    driver->Press(tk::VK_LEFT);
    EXPECT_EQ(ui().GetText(IDC_OUTPUT), "key\r\nkey\r\n");
    // The pane has the focus now; typing goes to its end, not inside the log.
    sink.consume = nullptr;
    driver->Type("x");
    EXPECT_EQ(ui().GetText(IDC_OUTPUT), "key\r\nkey\r\nx");
    EXPECT_EQ(ui().GetText(IDC_MIDDLE_SEP_TEXT), "a");
    EXPECT_EQ(ui().FocusedControl(), IDC_OUTPUT);
}

TEST_P(ToolkitContract, OperationsRunOneAtATimeInOrderAndShowTheyAreBusy) {
    std::vector<bool> busy;
    sink.onCommand = [&](int id) {
        busy.push_back(driver->Busy());
        if (id != IDC_CLEAR) return;
        sink.events.push_back("box");
        ui().MessageBox("?", "?", tk::MsgBoxButtons::Ok);
        sink.events.push_back("box closed");
    };
    // While the box is open: an accessibility click and a device change.
    driver->QueueAnswer(tk::MsgBoxResult::Ok, [&] {
        busy.push_back(driver->Busy());
        driver->AccessibleAction(IDC_TRACK1);
        ui().Post([&] { sink.events.push_back("device"); });
        sink.events.push_back("in box");
    });
    ASSERT_TRUE(driver->Click(IDC_CLEAR));
    driver->Settle();
    EXPECT_EQ(sink.events,
              (Events{"command 1017", "box", "in box", "box closed", "command 1008", "device"}));
    // Busy in each operation, not over the box; not once they are over.
    EXPECT_EQ(busy, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(driver->Busy());
    EXPECT_EQ(driver->BoxesShown(), 1);
}

TEST_P(ToolkitContract, AccessibilityActionsAreOneClick) {
    const struct {
        int id;
        bool checkedAfter;
    } cases[] = {{IDC_TRACK1, true}, {IDC_ENGLISH, true}, {IDC_TRACK1, false}};
    for (const auto& c : cases) {
        sink.events.clear();
        driver->AccessibleAction(c.id);
        EXPECT_EQ(sink.events, (Events{"command " + std::to_string(c.id)})) << c.id;
        EXPECT_EQ(ui().IsChecked(c.id), c.checkedAfter) << c.id;
    }
    EXPECT_FALSE(ui().IsChecked(IDC_CHINESE));
}

TEST_P(ToolkitContract, AutoRepeatOfAnActedOnKeyReachesNoOne) {
    sink.consume = [&](const tk::KeyEvent& ev) {
        if (ev.type != tk::KeyEvent::Type::Press) return false;
        ui().Keys().WaitForRelease(ev.vk);
        return ev.vk == tk::VK_F5;
    };
    ui().SetFocus(IDC_MIDDLE_SEP_TEXT);
    for (uint8_t vk : {tk::VK_F5, tk::VK_ESCAPE}) {
        sink.events.clear();
        driver->Hold(vk, 5);
        const std::string press =
            "press " + std::to_string(vk) + " @" + std::to_string(IDC_MIDDLE_SEP_TEXT);
        EXPECT_EQ(sink.Count(press), 1u) << int(vk);
        EXPECT_EQ(sink.Count("cancel"), vk == tk::VK_ESCAPE ? 1u : 0u) << int(vk);
        EXPECT_FALSE(ui().Keys().IsDown(vk));
    }
}

TEST_P(ToolkitContract, ChangesNotifyOnceAndMenusMayBeRebuiltFromTheirCommand) {
    ui().SetText(IDC_MIDDLE_SEP_TEXT, ",");
    ui().SetText(IDC_MIDDLE_SEP_TEXT, ",");
    ui().AppendText(IDC_OUTPUT, "line\r\n");
    driver->ClickInto(IDC_MIDDLE_SEP_TEXT);
    sink.events.clear();
    driver->Type("ab");
    EXPECT_EQ(sink.Count("change 1052"), 2u);

    tk::MenuBar next = ui().CurrentMenuBar();
    next.items.at(1).text = "rebuilt";
    sink.onCommand = [&](int) { ui().SetMenuBar(next); };
    ASSERT_TRUE(driver->ChooseMenu(ID_EXIT));
    EXPECT_EQ(ui().CurrentMenuBar().items.at(1).text, "rebuilt");
    sink.onCommand = nullptr;
    sink.events.clear();
    ASSERT_TRUE(driver->ChooseMenu(ID_EXIT));
    EXPECT_EQ(sink.events, (Events{"command 32782"}));
}

INSTANTIATE_TEST_SUITE_P(Toolkits, ToolkitContract,
                         ::testing::Values(Toolkit::Headless, Toolkit::Qt),
                         widgettest::ToolkitName);

// --- The dialog over both toolkits, with a virtual reader. ---

class DialogContract : public ::testing::TestWithParam<Toolkit> {
  protected:
    DialogContract()
        : clock({2026, 12, 7, 9, 5, 7, 0}),
          port(clock),
          driver(widgettest::MakeDriver(GetParam(), app::MainDialogSpec())) {}
    ~DialogContract() override { dlg.reset(); }

    void Start(bool withReader) {
        if (withReader) reader = &port.AttachQuietly(std::make_unique<sim::AckingModel>());
        dlg = std::make_unique<CReaderConfigDlg>(ui(), port, port, clock);
        dlg->OnInitDialog();
        driver->Show();
        driver->Settle();
    }
    tk::DialogSurface& ui() { return driver->Ui(); }
    std::string Pane() { return ui().GetText(IDC_OUTPUT); }

    sim::VirtualClock clock;
    sim::VirtualHidPort port;
    std::unique_ptr<Driver> driver;
    std::unique_ptr<CReaderConfigDlg> dlg;
    sim::VirtualDevice* reader = nullptr;
};

TEST_P(DialogContract, StartUpState) {
    const std::string welcome =
        "欢迎使用USB读卡器设置软件！ \r\nWelcome use USB card reader setup software! \r\n";
    const struct {
        bool reader;
        std::string pane;
    } cases[] = {
        {false, welcome + "未连接设备！ 09:05:07\r\n"},
        {true, welcome + "设备已连接！ 09:05:07\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reader);
        dlg.reset();
        driver = widgettest::MakeDriver(GetParam(), app::MainDialogSpec());
        const int registered = port.registerCount;
        Start(c.reader);
        EXPECT_EQ(Pane(), c.pane);
        for (int id : {IDC_SET_DEVICE, IDC_READ_DEVICE, IDC_BATCH})
            EXPECT_EQ(ui().IsEnabled(id), c.reader) << id;
        EXPECT_EQ(g_bDeviceConnected, c.reader ? 1 : 0);
        EXPECT_EQ(ui().FocusedControl(), IDC_OUTPUT);
        EXPECT_EQ(g_nCurrentKey, 255);
        EXPECT_EQ(g_bEnglish, 0);
        for (int id : KeyboardViewControls()) EXPECT_FALSE(ui().IsVisible(id)) << id;
        for (int id : GeneralViewControls()) EXPECT_TRUE(ui().IsVisible(id)) << id;
        for (int id : {IDC_OUTPUT, IDC_STATUS, IDC_CLEAR, IDC_COMPUTER_SLOW, IDC_LANGUAGE_GROUP})
            EXPECT_TRUE(ui().IsVisible(id)) << id;
        EXPECT_TRUE(ui().IsChecked(IDC_CHINESE));
        EXPECT_FALSE(ui().IsChecked(IDC_ENGLISH));
        EXPECT_EQ(ui().WindowTitle(), "USB读卡器设置");
        EXPECT_EQ(ui().GetText(IDC_READ_DEVICE), "读取设备");
        EXPECT_EQ(ui().GetText(IDC_SHIELD_KEYS), "屏蔽键盘控制键");
        EXPECT_EQ(driver->AccessibleName(IDC_OUTPUT), "输出窗口");
        const std::vector<std::pair<int, std::string>> menu = {
            {0, "关于软件 "},
            {ID_INSTRUCTIONS, "软件操作说明"},
            {ID_SOFTWARE_INFO, "软件信息"},
            {ID_UPDATE, "软件更新"},
            {ID_TOGGLE_VIEW, "切换到键盘设置界面"},
            {ID_EXIT, "退出 "}};
        std::vector<std::pair<int, std::string>> shown;
        for (const tk::MenuItem& item : ui().CurrentMenuBar().items) {
            shown.emplace_back(item.commandId, item.text);
            for (const tk::MenuItem& sub : item.popup) shown.emplace_back(sub.commandId, sub.text);
        }
        EXPECT_EQ(shown, menu);
        EXPECT_EQ(port.registerCount, registered + 1);
        if (auto* headless = dynamic_cast<widgettest::HeadlessDriver*>(driver.get())) {
            EXPECT_EQ(headless->ui.TimerPeriod(CLOCK_TIMER), CLOCK_PERIOD_MS);
            EXPECT_EQ(headless->ui.AboutEntries(),
                      std::vector<std::string>{"关于Vorn软件（About Vorn）"});
        } else {
            auto& qt = dynamic_cast<widgettest::QtDriver&>(*driver).ui;
            EXPECT_FALSE(qt.Dialog()->windowIcon().isNull());
            EXPECT_EQ(QApplication::focusWidget(), qt.Widget(IDC_OUTPUT));
        }
    }
}

TEST_P(DialogContract, EnterStartsNoOperationAndDoesNotEndTheTool) {
    Start(true);
    for (int id :
         {IDC_MIDDLE_SEP_TEXT, IDC_TRACK1, IDC_FORMAT_FIRST, IDC_SET_DEVICE, IDC_READ_DEVICE}) {
        ui().SetFocus(id);
        driver->Press(tk::VK_RETURN);
        EXPECT_TRUE(reader->Received().empty()) << id;
    }
    EXPECT_EQ(driver->BoxesShown(), 0);
    EXPECT_EQ(dlg->Result(), 0);
}

TEST_P(DialogContract, AnnouncedKeysStayInTheControlTheyWerePressedIn) {
    Start(false);
    ASSERT_TRUE(driver->Click(IDC_SHIELD_KEYS));  // announcements on
    ASSERT_FALSE(ui().IsChecked(IDC_SHIELD_KEYS));
    driver->ClickInto(IDC_MIDDLE_SEP_TEXT);
    ASSERT_EQ(ui().GetText(IDC_MIDDLE_SEP_TEXT), ",");
    driver->Press(tk::VK_BACK);
    EXPECT_EQ(ui().GetText(IDC_MIDDLE_SEP_TEXT), "");
    EXPECT_TRUE(EndsWith(Pane(), "你按下了 退格 功能键 ！\r\n 09:05:07\r\n")) << Pane();
    driver->ClickInto(IDC_MIDDLE_SEP_TEXT);
    driver->Press(tk::VK_LEFT);
    const std::string log = Pane();
    EXPECT_TRUE(EndsWith(log, "你按下了 LEFT 功能键 ！ 09:05:07\r\n")) << log;
    driver->Type("x");
    EXPECT_EQ(Pane(), log + "x");
}

TEST_P(DialogContract, ADeviceChangeDuringAnOperationWaitsForIt) {
    Start(true);
    // A ticked separator left empty: Set Device stops at a message box.
    ui().SetText(IDC_MIDDLE_SEP_TEXT, "");
    ASSERT_TRUE(driver->Click(IDC_MIDDLE_SEP));
    // While the box is open another device arrives.
    driver->QueueAnswer(tk::MsgBoxResult::Ok,
                        [&] { port.Attach(std::make_unique<sim::AckingModel>(), 0x1234); });
    ASSERT_TRUE(driver->Click(IDC_BATCH));  // configures the attached reader
    EXPECT_EQ(driver->BoxesShown(), 1);
    EXPECT_EQ(CountOf(Pane(), reader::BatchLine(1)), 1u) << Pane();
    EXPECT_EQ(CountOf(Pane(), reader::BatchLine(2)), 0u) << Pane();
    EXPECT_EQ(g_nBatchCount, 1u) << Pane();
}

// A reader pulled out and a fresh one plugged in while a box is open reach
// the dialog after the box, as a removal then an arrival: batch mode
// configures the fresh one.
TEST_P(DialogContract, AReaderSwappedWhileABoxIsOpenIsConfiguredAfterIt) {
    Start(true);
    ASSERT_TRUE(driver->Click(IDC_BATCH));
    driver->QueueAnswer(tk::MsgBoxResult::No, [&] {
        port.Detach(*reader);
        reader = &port.Attach(std::make_unique<sim::AckingModel>());
    });
    driver->CloseWindow();
    driver->Settle();
    EXPECT_EQ(driver->BoxesShown(), 1);
    EXPECT_EQ(CountOf(Pane(), reader::BatchLine(2)), 1u) << Pane();
    EXPECT_EQ(g_nBatchCount, 2u) << Pane();
}

TEST_P(DialogContract, AccessibilityTogglesRunTheClickHandlers) {
    Start(false);
    driver->AccessibleAction(IDC_ENGLISH);
    EXPECT_TRUE(ui().IsChecked(IDC_ENGLISH));
    EXPECT_FALSE(ui().IsChecked(IDC_CHINESE));
    EXPECT_EQ(g_bEnglish, 1);
    EXPECT_EQ(ui().GetText(IDC_SET_DEVICE), "Set Device");
    ASSERT_TRUE(ui().IsChecked(IDC_CR_PACKET));
    driver->AccessibleAction(IDC_CR_PACKET);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) {
        EXPECT_TRUE(ui().IsChecked(id)) << id;
        EXPECT_TRUE(ui().IsEnabled(id)) << id;
    }
}

TEST_P(DialogContract, HeldEscIsOnePress) {
    Start(false);
    driver->Hold(tk::VK_ESCAPE, 20);
    EXPECT_EQ(CountOf(Pane(), texts::ESC_PRESSED.zh), 1u) << Pane();
    EXPECT_EQ(driver->BoxesShown(), 0);
    EXPECT_EQ(dlg->Result(), 0);
}

TEST_P(DialogContract, TheExitQuestionIsAnsweredInsideItsLoop) {
    Start(false);
    driver->QueueAnswer(tk::MsgBoxResult::No);
    driver->CloseWindow();
    EXPECT_EQ(driver->BoxesShown(), 1);
    EXPECT_EQ(dlg->Result(), 0);
    driver->QueueAnswer(tk::MsgBoxResult::Yes);
    ASSERT_TRUE(driver->ChooseMenu(ID_EXIT));
    EXPECT_EQ(driver->BoxesShown(), 2);
    EXPECT_EQ(dlg->Result(), IDCANCEL);
}

TEST_P(DialogContract, SeveralReadersTheDeviceMenuChoosesOneAndTheTopRowNamesIt) {
    const std::vector<std::string> entries = {"关于Vorn软件（About Vorn）", "保存配置文件...",
                                              "载入配置文件...", "保存批量记录... (grey)"};
    // One reader: the window of old.
    Start(true);
    EXPECT_EQ(driver->WindowMenu(), entries);
    EXPECT_FALSE(ui().IsVisible(IDC_DEVICE_LABEL));

    sim::VirtualDevice& second = port.Attach(std::make_unique<sim::AckingModel>());
    driver->Settle();
    std::vector<std::string> several = entries;
    several.insert(several.end(), {"选择设备 >", "  [x] /dev/vhidraw0  VR000001",
                                   "  [ ] /dev/vhidraw1  VR000002"});
    EXPECT_EQ(driver->WindowMenu(), several);
    EXPECT_TRUE(ui().IsVisible(IDC_DEVICE_LABEL));
    EXPECT_EQ(ui().GetText(IDC_DEVICE_LABEL),
              "当前设备：/dev/vhidraw0，序列号 VR000001（共 2 个）");

    ASSERT_TRUE(driver->ChooseWindowEntry(ID_DEVICE_FIRST + 1));
    ASSERT_TRUE(driver->Click(IDC_SET_DEVICE));
    EXPECT_EQ(driver->BoxesShown(), 0);
    EXPECT_TRUE(reader->Received().empty());
    EXPECT_FALSE(second.Received().empty());
    driver->AccessibleAction(IDC_ENGLISH);
    EXPECT_EQ(ui().GetText(IDC_DEVICE_LABEL),
              "Device: /dev/vhidraw1, serial VR000002 (2 attached)");
    const std::vector<std::string> menu = driver->WindowMenu();
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(menu.begin() + 4, menu.end()),
              (std::vector<std::string>{"Choose device >", "  [ ] /dev/vhidraw0  VR000001",
                                        "  [x] /dev/vhidraw1  VR000002"}));

    // The chosen one pulled out: one reader left, the window of old again.
    port.Detach(second);
    driver->Settle();
    EXPECT_EQ(driver->WindowMenu().size(), entries.size());
    EXPECT_FALSE(ui().IsVisible(IDC_DEVICE_LABEL));
    EXPECT_FALSE(driver->ChooseWindowEntry(ID_DEVICE_FIRST));
}

INSTANTIATE_TEST_SUITE_P(Toolkits, DialogContract,
                         ::testing::Values(Toolkit::Headless, Toolkit::Qt),
                         widgettest::ToolkitName);

}  // namespace
