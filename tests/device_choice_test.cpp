// Several readers in the window: the line naming the device the dialog talks
// to, the device menu that changes it, the fall-back when the chosen one is
// pulled out, and batch-log rows that name the device each operation was
// bound to.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "device/DeviceWatcher.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace {

using namespace ids;

// The dialog with n readers attached at start-up.
struct Window {
    explicit Window(std::vector<std::unique_ptr<sim::ReaderModel>> models)
        : clock({2026, 12, 7, 9, 0, 0, 0}), ui(app::MainDialogSpec()), port(clock) {
        for (auto& m : models) devices.push_back(&port.AttachQuietly(std::move(m)));
        dlg = std::make_unique<CReaderConfigDlg>(ui, port, port, clock);
        dlg->OnInitDialog();
    }
    ~Window() { dlg.reset(); }
    static std::vector<std::unique_ptr<sim::ReaderModel>> Readers(size_t n) {
        std::vector<std::unique_ptr<sim::ReaderModel>> models;
        for (size_t i = 0; i < n; ++i) models.push_back(std::make_unique<sim::CardReaderModel>());
        return models;
    }
    // The device menu's entries as "[x] text" / "[ ] text"; empty without it.
    std::vector<std::string> DeviceEntries() const {
        std::vector<std::string> out;
        const auto& entries = ui.WindowEntries();
        for (size_t i = 3; i < entries.size(); ++i)
            for (const tk::WindowEntry& e : entries[i].submenu)
                out.push_back(std::string(e.checked ? "[x] " : "[ ] ") + e.text);
        return out;
    }
    // Which devices received frames since the last call.
    std::vector<bool> Written() {
        std::vector<bool> out;
        for (sim::VirtualDevice* d : devices) {
            out.push_back(!d->Received().empty());
            d->ClearReceived();
        }
        return out;
    }

    sim::VirtualClock clock;
    tk::HeadlessSurface ui;
    sim::VirtualHidPort port;
    std::vector<sim::VirtualDevice*> devices;
    std::unique_ptr<CReaderConfigDlg> dlg;
};

std::string Path(size_t i) {
    return "/dev/vhidraw" + std::to_string(i);
}
std::string Serial(size_t i) {
    const std::string number = std::to_string(i + 1);
    return "VR" + std::string(6 - number.size(), '0') + number;
}

TEST(DeviceChoice, TheWindowNamesTheChosenReaderAndEveryOperationGoesToIt) {
    for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{16}}) {
        SCOPED_TRACE(n);
        Window w(Window::Readers(n));
        const bool several = n > 1;
        EXPECT_EQ(w.ui.IsVisible(IDC_DEVICE_LABEL), several);
        // One reader or none: the window entries of old, no device menu.
        ASSERT_EQ(w.ui.WindowEntries().size(), several ? 4u : 3u);
        if (!several) {
            EXPECT_FALSE(w.ui.ChooseWindowEntry(ID_DEVICE_FIRST));
            if (n == 1) {
                ASSERT_TRUE(w.ui.Click(IDC_SET_DEVICE));
                EXPECT_EQ(w.Written(), std::vector<bool>{true});
            }
            continue;
        }
        EXPECT_EQ(w.ui.WindowEntries()[3].text, "选择设备");
        const std::string count = std::to_string(n);
        EXPECT_EQ(w.ui.GetText(IDC_DEVICE_LABEL),
                  "当前设备：" + Path(0) + "，序列号 " + Serial(0) + "（共 " + count + " 个）");
        std::vector<std::string> entries = w.DeviceEntries();
        ASSERT_EQ(entries.size(), n);
        EXPECT_EQ(entries[0], "[x] " + Path(0) + "  " + Serial(0));
        EXPECT_EQ(entries[n - 1], "[ ] " + Path(n - 1) + "  " + Serial(n - 1));

        // Choosing the last one: the line, the check mark and every transfer follow.
        ASSERT_TRUE(w.ui.ChooseWindowEntry(ID_DEVICE_FIRST + static_cast<int>(n) - 1));
        ASSERT_TRUE(w.ui.Click(IDC_SET_DEVICE));
        ASSERT_TRUE(w.ui.Click(IDC_READ_DEVICE));
        std::vector<bool> last(n, false);
        last.back() = true;
        EXPECT_EQ(w.Written(), last);
        entries = w.DeviceEntries();
        EXPECT_EQ(entries[0], "[ ] " + Path(0) + "  " + Serial(0));
        EXPECT_EQ(entries[n - 1], "[x] " + Path(n - 1) + "  " + Serial(n - 1));
        ASSERT_TRUE(w.ui.Click(IDC_ENGLISH));
        EXPECT_EQ(w.ui.GetText(IDC_DEVICE_LABEL), "Device: " + Path(n - 1) + ", serial " +
                                                      Serial(n - 1) + " (" + count + " attached)");
        EXPECT_EQ(w.ui.WindowEntries()[3].text, "Choose device");
        // Screen readers read the line, and what it is.
        EXPECT_EQ(w.ui.AccessibleName(IDC_DEVICE_LABEL), w.ui.GetText(IDC_DEVICE_LABEL));
        EXPECT_EQ(w.ui.AccessibleDescription(IDC_DEVICE_LABEL), "Current device");

        // The chosen one pulled out: the first one left takes its place.
        w.port.Detach(*w.devices.back());
        w.devices.pop_back();
        EXPECT_EQ(w.ui.IsVisible(IDC_DEVICE_LABEL), n > 2);
        EXPECT_EQ(w.ui.WindowEntries().size(), n > 2 ? 4u : 3u);
        if (n > 2) {
            EXPECT_EQ(w.ui.GetText(IDC_DEVICE_LABEL), "Device: " + Path(0) + ", serial " +
                                                          Serial(0) + " (" + std::to_string(n - 1) +
                                                          " attached)");
            EXPECT_EQ(w.DeviceEntries()[0], "[x] " + Path(0) + "  " + Serial(0));
        }
        ASSERT_TRUE(w.ui.Click(IDC_SET_DEVICE));
        std::vector<bool> first(n - 1, false);
        first.front() = true;
        EXPECT_EQ(w.Written(), first);
    }
}

TEST(DeviceChoice, AChoiceOutlivesOtherReadersComingAndGoing) {
    Window w(Window::Readers(3));
    ASSERT_TRUE(w.ui.ChooseWindowEntry(ID_DEVICE_FIRST + 1));
    // The others leave: one reader, no line, but still that one.
    w.port.Detach(*w.devices[0]);
    w.port.Detach(*w.devices[2]);
    EXPECT_FALSE(w.ui.IsVisible(IDC_DEVICE_LABEL));
    // A reader plugged in again takes the lowest path; the choice stays.
    sim::VirtualDevice& again = w.port.Attach(std::make_unique<sim::CardReaderModel>());
    ASSERT_EQ(again.Path(), Path(0));
    EXPECT_EQ(w.ui.GetText(IDC_DEVICE_LABEL),
              "当前设备：" + Path(1) + "，序列号 " + Serial(1) + "（共 2 个）");
    ASSERT_TRUE(w.ui.Click(IDC_SET_DEVICE));
    EXPECT_TRUE(again.Received().empty());
    EXPECT_FALSE(w.devices[1]->Received().empty());
}

TEST(DeviceChoice, AChangeThatLeavesTheReadersAsTheyWereOpensNone) {
    Window w(Window::Readers(16));
    int opens = 0;
    for (sim::VirtualDevice* d : w.devices) opens += d->openCount;
    // The tree-change event that follows every arrival: only the presence
    // check opens (the first reader), nobody is listed anew.
    w.port.RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    int after = 0;
    for (sim::VirtualDevice* d : w.devices) after += d->openCount;
    EXPECT_EQ(after, opens + 1);
}

TEST(DeviceChoice, BatchRowsNameTheDeviceTheOperationWasBoundTo) {
    auto keypad = [] {
        return std::make_unique<sim::KeypadModel>(std::make_unique<sim::AckingModel>());
    };
    auto plainReader = [] {
        return std::make_unique<sim::NoKeypadModel>(std::make_unique<sim::AckingModel>());
    };
    struct Case {
        const char* name;
        bool keypadBatch;
        std::vector<std::unique_ptr<sim::ReaderModel>> models;
        int choose;  // -1: no choice
        std::string row;
    };
    std::vector<Case> cases;
    cases.push_back({"reader batch", false, Window::Readers(2), 1,
                     ",1,configured," + Path(1) + "," + Serial(1) + "\r\n"});
    cases.push_back({"one reader", false, Window::Readers(1), -1,
                     ",1,configured," + Path(0) + "," + Serial(0) + "\r\n"});
    {
        std::vector<std::unique_ptr<sim::ReaderModel>> m;
        m.push_back(keypad());
        m.push_back(keypad());
        cases.push_back({"keypad batch", true, std::move(m), 1,
                         ",1,configured," + Path(1) + "," + Serial(1) + "\r\n"});
    }
    {
        std::vector<std::unique_ptr<sim::ReaderModel>> m;
        m.push_back(keypad());
        m.push_back(plainReader());
        cases.push_back({"no keypad", true, std::move(m), 1,
                         ",0,failed," + Path(1) + "," + Serial(1) + "\r\n"});
    }
    {
        std::vector<std::unique_ptr<sim::ReaderModel>> m;
        m.push_back(keypad());
        cases.push_back({"one keypad", true, std::move(m), -1,
                         ",1,configured," + Path(0) + "," + Serial(0) + "\r\n"});
    }
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w(std::move(c.models));
        if (c.choose >= 0) {
            ASSERT_TRUE(w.ui.ChooseWindowEntry(ID_DEVICE_FIRST + c.choose));
        }
        if (c.keypadBatch) {
            g_bKeyboardView = 1;
            w.dlg->ShowView(0);
            for (int id : {IDC_CONFIG_KEY, IDC_DEFAULT_KEYS, IDC_READ_CONFIG, IDC_KEYPAD_BATCH})
                w.ui.SetEnabled(id, true);
            ASSERT_TRUE(w.ui.Click(IDC_DEFAULT_KEYS));
        }
        ASSERT_TRUE(w.ui.Click(c.keypadBatch ? IDC_KEYPAD_BATCH : IDC_BATCH));
        std::string csv;
        ASSERT_TRUE(w.dlg->GetBatchLog().Csv(&csv));
        // One row per device tried: the one the operation was bound to.
        EXPECT_EQ(w.dlg->GetBatchLog().Size(), 1u) << csv;
        EXPECT_NE(csv.find(c.row), std::string::npos) << csv;
    }
}

}  // namespace
