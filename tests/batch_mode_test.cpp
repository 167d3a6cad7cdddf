// Batch mode driven by plugging readers in and out, in the general view and
// in the keyboard view.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/KeypadFixture.h"
#include "support/ReaderFixture.h"

using namespace ids;

namespace {

class BatchModeTest : public ReaderFixture {
  protected:
    // Plugs a fresh reader in, with the burst of events a real plug brings.
    sim::VirtualDevice& Plug(std::unique_ptr<sim::ReaderModel> model = nullptr) {
        if (!model) model = std::make_unique<sim::CardReaderModel>();
        device = &port.Attach(std::move(model));
        port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
        return *device;
    }
    void Unplug() {
        port.Detach(*device);
        device = nullptr;
    }
    std::string BatchLine(const char* count) const {
        return std::string("批量设置第  ") + count + "  台成功！";
    }
    bool SettingsLocked() const {
        for (int id : {IDC_DEFAULT_SETTING, IDC_READ_DEVICE, IDC_SET_DEVICE, IDC_COMPUTER_SLOW,
                       IDC_TRACK1, IDC_FORMAT_FIRST, IDC_T1_START, IDC_MIDDLE_SEP_TEXT})
            if (ui.IsEnabled(id)) return false;
        return true;
    }
};

TEST_F(BatchModeTest, ThreeReadersPluggedInTurn) {
    StartWithReader();
    ASSERT_TRUE(ui.Click(IDC_BATCH));
    EXPECT_EQ(ui.GetText(IDC_BATCH), "停止批量设置");
    EXPECT_TRUE(SettingsLocked());
    EXPECT_TRUE(ui.IsEnabled(IDC_BATCH));
    EXPECT_FALSE(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled);
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00001"));
    Unplug();

    const char* counts[] = {"00002", "00003", "00004"};
    for (const char* count : counts) {
        const size_t mark = LineCount();
        Plug();
        const auto lines = UnstampedLinesSince(mark);
        ASSERT_EQ(lines.size(), 2u) << count;
        EXPECT_EQ(lines[0], "已连接设备！");
        EXPECT_EQ(lines[1], BatchLine(count));
        const size_t frames = device->Received().size();
        EXPECT_EQ(FramesOf("settings").size(), 2u);
        for (int i = 0; i < 3; ++i) port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        EXPECT_EQ(device->Received().size(), frames) << "second frame to a configured reader";
        EXPECT_EQ(LineCount(), mark + 2);
        Unplug();
        EXPECT_EQ(Unstamped(LastLine()), "未连接设备！");
        EXPECT_TRUE(ui.IsEnabled(IDC_BATCH));  // batch mode keeps its buttons
        EXPECT_TRUE(SettingsLocked());
    }
    EXPECT_EQ(g_nBatchCount, 4u);
}

// A reader swapped for a fresh one while a box is open (or an operation runs)
// is a removal, then an arrival: the fresh one is configured and counted.
TEST_F(BatchModeTest, AReaderSwappedWhileABoxIsOpenIsConfigured) {
    StartWithReader();
    ASSERT_TRUE(ui.Click(IDC_BATCH));
    Unplug();
    Plug();
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00002"));
    ui.QueueAnswer(tk::MsgBoxResult::No, [this] {
        Unplug();
        Plug();
    });
    ui.CloseWindow();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    const auto lines = UnstampedLinesSince(LineCount() - 3);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"未连接设备！", "已连接设备！", BatchLine("00003")}));
    EXPECT_EQ(g_nBatchCount, 3u);
}

TEST_F(BatchModeTest, UnacknowledgedAttemptIsRetriedOnTheNextEvent) {
    StartWithReader();
    ui.Click(IDC_BATCH);
    Unplug();
    auto model = std::make_unique<sim::CardReaderModel>();
    sim::CardReaderModel& r = *model;
    r.SetSilent(true);
    device = &port.AttachQuietly(std::move(model));
    port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
    EXPECT_EQ(Unstamped(LastLine()), "数据发送失败！");
    EXPECT_EQ(g_bBatchDone, 0);
    r.SetSilent(false);
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00002"));
    EXPECT_EQ(g_bBatchDone, 1);
}

TEST_F(BatchModeTest, StopAndStartAgainRestartsTheCount) {
    StartWithReader();
    ui.Click(IDC_BATCH);
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00001"));
    ui.Click(IDC_BATCH);
    EXPECT_EQ(ui.GetText(IDC_BATCH), "开始批量设置");
    EXPECT_TRUE(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled);
    const size_t frames = device->Received().size();
    ui.Click(IDC_BATCH);
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00001"));
    EXPECT_GT(device->Received().size(), frames);  // the attached reader is configured again
}

TEST_F(BatchModeTest, StopWithoutReaderLeavesTheSettingsUsable) {
    StartWithReader();
    ui.Click(IDC_SENTINELS);  // untick: the six sentinel fields go grey
    ASSERT_FALSE(ui.IsEnabled(IDC_T1_START));
    ui.Click(IDC_BATCH);
    Unplug();
    ui.Click(IDC_BATCH);
    for (int id : {IDC_SET_DEVICE, IDC_DEFAULT_SETTING, IDC_READ_DEVICE})
        EXPECT_TRUE(ui.IsEnabled(id));
    for (int id : SENTINEL_EDITS) EXPECT_TRUE(ui.IsEnabled(id)) << id;
}

TEST_F(BatchModeTest, PacketCrKeepsTrackCrBoxesDisabled) {
    StartWithReader();
    if (!ui.IsChecked(IDC_CR_PACKET)) ui.Click(IDC_CR_PACKET);
    for (int click = 0; click < 2; ++click) {
        ui.Click(IDC_BATCH);
        for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3})
            EXPECT_FALSE(ui.IsEnabled(id)) << id << " after click " << click;
    }
}

TEST_F(BatchModeTest, LanguageSwitchWhileRunning) {
    StartWithReader();
    ui.Click(IDC_BATCH);
    ui.Click(IDC_ENGLISH);
    EXPECT_EQ(ui.GetText(IDC_BATCH), "Stop batch set");
    EXPECT_FALSE(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled);
    Unplug();
    Plug();
    EXPECT_EQ(Unstamped(LastLine()), "Batch set first  00002  successful!");
}

TEST_F(BatchModeTest, StartWithoutReaderReportsTheFailureAndWaits) {
    StartWithReader();
    ui.Click(IDC_BATCH);
    Unplug();
    ui.Click(IDC_BATCH);
    ASSERT_TRUE(ui.Click(IDC_BATCH));         // 1027 stays usable with no reader
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);  // the computer-slow prompt
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
    EXPECT_EQ(Unstamped(LastLine()), "数据发送失败！");
    Plug();
    EXPECT_EQ(Unstamped(LastLine()), BatchLine("00001"));
}

class KeypadBatchTest : public KeypadFixture {};

TEST_F(KeypadBatchTest, KeypadsPluggedInTurnAreConfiguredOnce) {
    device = &AttachBeforeStart(Keypad());
    Start();
    ASSERT_TRUE(ui.ChooseMenu(ID_TOGGLE_VIEW));
    ASSERT_EQ(g_bKeyboardView, 1);
    ASSERT_TRUE(ui.Click(IDC_KEYPAD_BATCH));
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_BATCH), "停止批量设置");
    EXPECT_NE(LastLine().find("批量设置第  00001  台成功！"), std::string::npos);
    EXPECT_FALSE(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled);
    for (const char* count : {"00002", "00003"}) {
        port.Detach(*device);
        EXPECT_TRUE(ui.IsEnabled(IDC_KEYPAD_BATCH));
        device = &port.Attach(Keypad());
        EXPECT_NE(LastLine().find(std::string("批量设置第  ") + count + "  台成功！"),
                  std::string::npos)
            << LastLine();
        const size_t frames = device->Received().size();
        port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
        EXPECT_EQ(device->Received().size(), frames);
    }
}

TEST_F(KeypadBatchTest, SetDeviceAlsoProgramsTheKeypadInOneLine) {
    struct Case {
        bool keypad;
        const char* line;
    } cases[] = {{true, "配置设备成功！键盘配置成功！"}, {false, "配置设备成功！键盘配置失败！"}};
    for (const Case& c : cases) {
        DialogFixture::TearDown();
        dlg.reset();
        for (sim::VirtualDevice* d : port.Devices()) port.DetachQuietly(*d);
        auto reader = std::make_unique<sim::CardReaderModel>();
        if (c.keypad)
            device = &AttachBeforeStart(
                std::make_unique<sim::KeypadModel>(std::move(reader), DEFAULT_KEY_CODES));
        else
            device = &AttachBeforeStart(std::make_unique<sim::NoKeypadModel>(std::move(reader)));
        Start();
        g_bAutoKeyboardConfig = 1;
        const size_t mark = LineCount();
        ui.Click(IDC_SET_DEVICE);
        // One message, whose keypad part stands on its own line.
        const auto lines = LinesSince(mark);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0] + lines[1].substr(0, lines[1].size() - 9), c.line);
    }
}

}  // namespace
