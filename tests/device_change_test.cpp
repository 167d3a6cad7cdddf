// Plugging and unplugging, outside batch mode.

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/DialogFixture.h"

using namespace ids;

namespace {

class DeviceChangeTest : public DialogFixture {
  protected:
    bool GeneralButtonsEnabled(bool expected) {
        bool ok = true;
        for (int id : {IDC_SET_DEVICE, IDC_READ_DEVICE, IDC_BATCH})
            ok = ok && ui.IsEnabled(id) == expected;
        return ok;
    }
};

TEST_F(DeviceChangeTest, PlugAndPullInBothLanguages) {
    Start();
    for (uint8_t english : {0, 1}) {
        g_bEnglish = english;
        size_t mark = LineCount();
        sim::VirtualDevice& d = port.Attach(std::make_unique<sim::AckingModel>());
        auto lines = LinesSince(mark);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], Stamped(english ? "Connected device!" : "已连接设备！", clock));
        EXPECT_TRUE(GeneralButtonsEnabled(true));

        mark = LineCount();
        port.Detach(d);
        lines = LinesSince(mark);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], Stamped(english ? "Remove device!" : "未连接设备！", clock));
        EXPECT_TRUE(GeneralButtonsEnabled(false));
    }
}

TEST_F(DeviceChangeTest, OtherDevicesComingAndGoingChangeNothing) {
    AttachBeforeStart(std::make_unique<sim::AckingModel>());
    Start();
    const size_t mark = LineCount();
    sim::VirtualDevice& mouse = port.Attach(std::make_unique<sim::SilentModel>(), 0x046D, 0xC077);
    EXPECT_EQ(mouse.openCount, 0);
    port.Detach(mouse);
    port.RaiseEvent(0x8004);
    port.RaiseEvent(0x0018);  // an event code nobody handles
    EXPECT_TRUE(LinesSince(mark).empty());
    EXPECT_TRUE(GeneralButtonsEnabled(true));
}

TEST_F(DeviceChangeTest, RemovalEventWhileReaderStaysDoesNothing) {
    AttachBeforeStart(std::make_unique<sim::AckingModel>());
    Start();
    ui.SetEnabled(IDC_SET_DEVICE, false);  // a state only the removal steps would change
    const size_t mark = LineCount();
    port.RaiseEvent(dev::DBT_DEVICEREMOVECOMPLETE);
    EXPECT_TRUE(LinesSince(mark).empty());
    EXPECT_FALSE(ui.IsEnabled(IDC_SET_DEVICE));
}

TEST_F(DeviceChangeTest, ArrivalEventWithoutReaderDoesNothing) {
    Start();
    const size_t mark = LineCount();
    port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
    EXPECT_TRUE(LinesSince(mark).empty());
    g_bBatchDone = 1;
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);  // a tree change runs the removal steps
    EXPECT_EQ(g_bBatchDone, 0);
    EXPECT_TRUE(LinesSince(mark).empty());
}

TEST_F(DeviceChangeTest, KeyboardViewButtons) {
    sim::VirtualDevice& d = AttachBeforeStart(std::make_unique<sim::AckingModel>());
    Start();
    dlg->ShowView(0);
    g_bKeyboardView = 1;
    port.Detach(d);
    EXPECT_FALSE(ui.IsEnabled(IDC_CONFIG_KEY));
    EXPECT_FALSE(ui.IsEnabled(IDC_READ_CONFIG));
    EXPECT_FALSE(ui.IsEnabled(IDC_KEYPAD_BATCH));
    EXPECT_TRUE(ui.IsEnabled(IDC_DEFAULT_KEYS));
    EXPECT_TRUE(ui.IsVisible(KeyFieldId(1)));  // the view stays
    port.Attach(std::make_unique<sim::AckingModel>());
    for (int id : {IDC_CONFIG_KEY, IDC_DEFAULT_KEYS, IDC_READ_CONFIG, IDC_KEYPAD_BATCH})
        EXPECT_TRUE(ui.IsEnabled(id)) << id;
}

}  // namespace

namespace {

TEST_F(DeviceChangeTest, AccessDeniedIsReportedOncePerSituation) {
    sim::VirtualDevice& locked = AttachBeforeStart(std::make_unique<sim::AckingModel>());
    locked.openError = dev::OpenError::AccessDenied;
    Start();
    auto deniedLines = [&] {
        int n = 0;
        for (const auto& l : OutputLines())
            if (l.find("access to it was denied") != std::string::npos ||
                l.find("没有权限") != std::string::npos)
                ++n;
        return n;
    };
    EXPECT_EQ(deniedLines(), 1);
    EXPECT_FALSE(ui.IsEnabled(IDC_SET_DEVICE));  // still treated as absent
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    port.RaiseEvent(dev::DBT_DEVICEARRIVAL);
    EXPECT_EQ(deniedLines(), 1);
    // The rule gets installed: the reader opens, then it is locked again.
    locked.openError = dev::OpenError::None;
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    EXPECT_TRUE(ui.IsEnabled(IDC_SET_DEVICE));
    locked.openError = dev::OpenError::AccessDenied;
    g_bEnglish = 1;
    port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    EXPECT_EQ(deniedLines(), 2);
    EXPECT_NE(LastLine().find("A card reader was found but access to it was denied"),
              std::string::npos);
}

}  // namespace

namespace {

// A message box whose modal loop delivers a device change, as the platform's
// loop does while the box waits for the user.
class EventInBoxSurface : public tk::HeadlessSurface {
  public:
    EventInBoxSurface() : HeadlessSurface(app::MainDialogSpec()) {}
    tk::MsgBoxResult MessageBox(const std::string& text, const std::string& caption,
                                tk::MsgBoxButtons buttons) override {
        if (auto event = std::exchange(whileOpen, nullptr)) event();
        return HeadlessSurface::MessageBox(text, caption, buttons);
    }
    std::function<void()> whileOpen;
};

TEST(DeviceChangeDuringABox, IsHandledAfterTheOperationNotInsideIt) {
    sim::VirtualClock clock;
    EventInBoxSurface ui;
    sim::VirtualHidPort port(clock);
    port.AttachQuietly(std::make_unique<sim::SilentModel>());
    CReaderConfigDlg dlg(ui, port, port, clock);
    dlg.OnInitDialog();
    // Batch mode meets a silent reader: the "Computer slow" box comes up,
    // and while it is open another reader arrives.
    ui.whileOpen = [&] { port.Attach(std::make_unique<sim::SilentModel>()); };
    ui.Click(IDC_BATCH);
    // The arrival's two events each ran Set Device after the first one had
    // ticked the box: one box, three failures.
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    size_t failures = 0;
    for (size_t at = 0;
         (at = ui.GetText(IDC_OUTPUT).find("数据发送失败！", at)) != std::string::npos; ++at)
        ++failures;
    EXPECT_EQ(failures, 3u);
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
}

}  // namespace
