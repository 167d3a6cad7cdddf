// Plugging and unplugging, outside batch mode.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
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

// The one-line rule the tool prints for an install by hand.
std::string PackagedRule() {
    // The packaged rule's match (subsystem and ids) with the seat tag: the
    // packaged file tags through its helper, which a hand install lacks.
    std::ifstream in(READER_CONFIG_UDEV_RULE);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#') {
            const size_t import = line.find(", IMPORT{");
            if (import == std::string::npos) return {};
            return line.substr(0, import) + ", TAG+=\"uaccess\"";
        }
    return {};
}

// Each reason gets the commands that help with it, in both languages, and a
// change of reason is said again.
TEST_F(DeviceChangeTest, AccessDeniedSaysWhyAndWhatToRun) {
    const std::string rule = PackagedRule();
    ASSERT_FALSE(rule.empty());
    const std::string apply =
        "sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw "
        "--action=change";
    struct Case {
        dev::AccessDenial denial;
        bool english;
        std::vector<std::string> says;
    } cases[] = {
        {dev::AccessDenial::RuleMissing,
         true,
         {"the udev rule 70-reader-config.rules is not installed",
          "echo '" + rule + "' | sudo tee /etc/udev/rules.d/70-reader-config.rules && " + apply}},
        {dev::AccessDenial::RuleMissing,
         false,
         {"udev 规则 70-reader-config.rules 未安装",
          "echo '" + rule + "' | sudo tee /etc/udev/rules.d/70-reader-config.rules && " + apply}},
        {dev::AccessDenial::RuleNotApplied,
         true,
         {"installed but has not been applied to this reader", "Run: " + apply + ", or plug"}},
        {dev::AccessDenial::RuleNotApplied,
         false,
         {"尚未应用到这个读卡器", apply + "，或重新插入"}},
        {dev::AccessDenial::NotLocalSeat,
         true,
         {"only to the user logged in at this computer's own screen", "GROUP=\"plugdev\"",
          "sudo usermod -aG plugdev $USER && " + apply + ", then log in again"}},
        {dev::AccessDenial::NotLocalSeat,
         false,
         {"远程（SSH）", "GROUP=\"plugdev\"", "sudo usermod -aG plugdev $USER && " + apply}},
        // Where the platform cannot tell, every command is given.
        {dev::AccessDenial::Unknown, true, {"sudo tee /etc/udev/rules.d/70-reader-config.rules"}},
    };
    sim::VirtualDevice& locked = AttachBeforeStart(std::make_unique<sim::AckingModel>());
    locked.openError = dev::OpenError::AccessDenied;
    Start();
    for (const Case& c : cases) {
        g_bEnglish = c.english;
        locked.accessDenial = c.denial;
        const size_t mark = LineCount();
        port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        std::vector<std::string> denied;
        for (const std::string& line : LinesSince(mark))
            if (line.find(c.english ? "access to it was denied" : "没有权限") != std::string::npos)
                denied.push_back(line);
        ASSERT_EQ(denied.size(), 1u) << static_cast<int>(c.denial);
        for (const std::string& part : c.says)
            EXPECT_NE(denied[0].find(part), std::string::npos) << part << "\n" << denied[0];
        // Told once while nothing changes; the language alone changes nothing.
        g_bEnglish = !c.english;
        const size_t told = LineCount();
        port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        EXPECT_EQ(LineCount(), told);
        // The reader opens, so that the next case starts afresh.
        locked.openError = dev::OpenError::None;
        port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
        locked.openError = dev::OpenError::AccessDenied;
    }
}

}  // namespace
