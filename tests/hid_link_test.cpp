// CHidLink against virtual readers on a virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "device/HidLink.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

namespace {

class NullReceiver : public dev::DeviceChangeReceiver {
  public:
    bool OnDeviceChange(uint32_t, uintptr_t) override { return true; }
};

class HidLinkTest : public ::testing::Test {
  protected:
    HidLinkTest() : port(clock), link(port, port, clock) { link.m_hNotifyWnd = &receiver; }
    sim::Frame Filled(uint8_t v) {
        sim::Frame f;
        f.fill(v);
        return f;
    }
    sim::VirtualClock clock;
    sim::VirtualHidPort port;
    NullReceiver receiver;
    dev::CHidLink link;
};

TEST_F(HidLinkTest, NoDeviceTouchesNothing) {
    EXPECT_FALSE(link.CheckPresence());
    EXPECT_FALSE(link.IsPresent());
    sim::Frame buf = Filled(0xAB);
    link.WriteReport(buf.data(), 64);
    link.ReadReport(buf.data(), 64);
    EXPECT_EQ(buf, Filled(0xAB));
    EXPECT_EQ(link.LastFindStatus(), dev::FindStatus::NotFound);
}

TEST_F(HidLinkTest, TransfersDoNothingUntilPresenceIsChecked) {
    sim::VirtualDevice& d = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    sim::Frame buf = Filled(1);
    link.WriteReport(buf.data(), 64);
    EXPECT_TRUE(d.Received().empty());
    EXPECT_EQ(d.openCount, 0);
}

TEST_F(HidLinkTest, SilentDeviceLeavesBufferAfterReadWait) {
    port.AttachQuietly(std::make_unique<sim::SilentModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame buf = Filled(0x20);
    link.WriteReport(buf.data(), 64);
    const int64_t before = clock.NowMs();
    link.ReadReport(buf.data(), 64);
    EXPECT_EQ(clock.NowMs() - before, dev::READ_WAIT_MS);
    EXPECT_EQ(buf, Filled(0x20));
}

TEST_F(HidLinkTest, AnswerArrivesAndReportIdIsDropped) {
    sim::VirtualDevice& d = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame request = Filled(0x20);
    request[1] = 0x11;
    link.WriteReport(request.data(), 64);
    ASSERT_EQ(d.Received().size(), 1u);
    EXPECT_EQ(d.Received()[0].frame, request);
    sim::Frame buf{};
    link.ReadReport(buf.data(), 64);
    EXPECT_EQ(buf[0], 0x20);  // payload byte 0, not the report id
    EXPECT_EQ(buf[1], 0x11);
    EXPECT_EQ(buf[2], 'Y');
}

TEST_F(HidLinkTest, ShortCountCopiesOnlyThatMany) {
    port.AttachQuietly(std::make_unique<sim::AckingModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame request = Filled(0x20);
    link.WriteReport(request.data(), 64);
    sim::Frame buf = Filled(0xEE);
    link.ReadReport(buf.data(), 3);
    EXPECT_EQ(buf[2], 'Y');
    EXPECT_EQ(buf[3], 0xEE);
}

TEST_F(HidLinkTest, AnswerSentWhileNoHandleIsOpenIsLost) {
    port.AttachQuietly(std::make_unique<sim::AckingModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame request = Filled(0x20);
    link.WriteReport(request.data(), 64);
    clock.Advance(50);  // the answer goes out with no handle open
    sim::Frame buf = Filled(0x33);
    link.ReadReport(buf.data(), 64);
    EXPECT_EQ(buf, Filled(0x33));
}

TEST_F(HidLinkTest, FirstMatchingInterfaceIsUsed) {
    sim::VirtualDevice& first = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    sim::VirtualDevice& second = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame buf = Filled(0x20);
    link.WriteReport(buf.data(), 64);
    EXPECT_EQ(first.Received().size(), 1u);
    EXPECT_TRUE(second.Received().empty());

    // Bound to the second, the presence check opens the second alone.
    const int firstOpens = first.openCount;
    link.Bind(second.Path());
    EXPECT_TRUE(link.CheckPresence());
    EXPECT_EQ(first.openCount, firstOpens);
    link.Bind("/dev/vhidraw9");
    EXPECT_FALSE(link.CheckPresence());
}

TEST_F(HidLinkTest, OtherProductIsNeverOpened) {
    sim::VirtualDevice& other =
        port.AttachQuietly(std::make_unique<sim::AckingModel>(), dev::VENDOR_ID, 0x1234);
    sim::VirtualDevice& otherVendor =
        port.AttachQuietly(std::make_unique<sim::AckingModel>(), 0x1234, dev::PRODUCT_ID);
    EXPECT_FALSE(link.CheckPresence());
    EXPECT_EQ(other.openCount, 0);
    EXPECT_EQ(otherVendor.openCount, 0);
}

TEST_F(HidLinkTest, NotificationRegisteredOnceOverManyChecks) {
    for (int i = 0; i < 10; ++i) link.CheckPresence();
    EXPECT_EQ(port.registerCount, 1);
}

TEST_F(HidLinkTest, OnlyAnInterfaceWith64ByteReportsAndNoKeyboardIsTheReader) {
    struct Case {
        size_t in, out;
        bool keyboard, found;
    } cases[] = {{65, 65, false, true},   {128, 128, false, false}, {129, 65, false, false},
                 {65, 200, false, false}, {9, 2, true, false},      {65, 65, true, false}};
    for (const Case& c : cases) {
        sim::VirtualClock clk;
        sim::VirtualHidPort p(clk);
        dev::CHidLink l(p, p, clk);
        sim::VirtualDevice& d = p.AttachQuietly(std::make_unique<sim::AckingModel>());
        d.inputReportLength = c.in;
        d.outputReportLength = c.out;
        d.keyboardUsage = c.keyboard;
        EXPECT_EQ(l.CheckPresence(), c.found) << c.in << "/" << c.out;
        if (!c.found) {
            EXPECT_EQ(l.LastFindStatus(), dev::FindStatus::Unsupported);
        }
    }
}

TEST_F(HidLinkTest, SettingsGoToTheReadersInterfaceNotItsKeyboard) {
    // The keyboard interface comes first, as the kernel usually numbers it.
    sim::VirtualDevice& keyboard = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    keyboard.inputReportLength = 9;
    keyboard.outputReportLength = 2;
    keyboard.keyboardUsage = true;
    sim::VirtualDevice& settings = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    ASSERT_TRUE(link.CheckPresence());
    sim::Frame buf = Filled(0x20);
    link.WriteReport(buf.data(), 64);
    link.ReadReport(buf.data(), 64);
    EXPECT_TRUE(keyboard.Received().empty());
    EXPECT_EQ(settings.Received().size(), 1u);
    EXPECT_EQ(buf[2], 'Y');
}

TEST_F(HidLinkTest, ABoundLinkNeverTalksToAnotherDevice) {
    struct Case {
        const char* what;
        bool replug;  // false: another reader at another path instead
    } cases[] = {{"another reader at the same path", true}, {"another reader elsewhere", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualClock clk;
        sim::VirtualHidPort p(clk);
        dev::CHidLink l(p, p, clk);
        sim::VirtualDevice* first = &p.AttachQuietly(std::make_unique<sim::AckingModel>());
        ASSERT_TRUE(l.CheckPresence());
        dev::DeviceBindingScope binding(l);
        sim::Frame buf = Filled(0x20);
        l.WriteReport(buf.data(), 64);
        EXPECT_EQ(l.Binding().path, first->Path());
        p.DetachQuietly(*first);
        if (!c.replug) p.AttachQuietly(std::make_unique<sim::SilentModel>());  // takes its path
        sim::VirtualDevice& second = p.AttachQuietly(std::make_unique<sim::AckingModel>());
        EXPECT_EQ(second.Path() == l.Binding().path, c.replug);
        l.WriteReport(buf.data(), 64);
        l.ReadReport(buf.data(), 64);
        EXPECT_TRUE(second.Received().empty());
        EXPECT_EQ(buf, Filled(0x20));
        EXPECT_EQ(l.LastTransferStatus(), dev::TransferStatus::Gone);
    }
}

TEST_F(HidLinkTest, TransferFailuresAreToldApart) {
    // Pulls the device out in the middle of the read's wait.
    struct PullingClock : sim::VirtualClock {
        std::function<void()> pull;
        void WaitUntil(int64_t deadline) override {
            if (pull) std::exchange(pull, nullptr)();
            VirtualClock::WaitUntil(deadline);
        }
    };
    struct Case {
        const char* what;
        bool silent, pullDuringRead, pullBefore;
        dev::TransferStatus status;
    } cases[] = {
        {"answered", false, false, false, dev::TransferStatus::Ok},
        {"silent", true, false, false, dev::TransferStatus::Timeout},
        {"pulled out during the read", true, true, false, dev::TransferStatus::Gone},
        {"pulled out before", false, false, true, dev::TransferStatus::NotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PullingClock clk;
        sim::VirtualHidPort p(clk);
        dev::CHidLink l(p, p, clk);
        std::unique_ptr<sim::ReaderModel> model;
        if (c.silent)
            model = std::make_unique<sim::SilentModel>();
        else
            model = std::make_unique<sim::AckingModel>();
        sim::VirtualDevice& d = p.AttachQuietly(std::move(model));
        ASSERT_TRUE(l.CheckPresence());
        sim::Frame buf = Filled(0x20);
        l.WriteReport(buf.data(), 64);
        if (c.pullDuringRead) clk.pull = [&] { p.DetachQuietly(d); };
        if (c.pullBefore) p.DetachQuietly(d);
        l.ReadReport(buf.data(), 64);
        EXPECT_EQ(l.LastTransferStatus(), c.status);
        EXPECT_EQ(buf[2], c.status == dev::TransferStatus::Ok ? 'Y' : 0x20);
    }
}

TEST_F(HidLinkTest, AccessDeniedIsReportedButCountsAsAbsent) {
    sim::VirtualDevice& d = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    d.openError = dev::OpenError::AccessDenied;
    EXPECT_FALSE(link.CheckPresence());
    EXPECT_EQ(link.LastFindStatus(), dev::FindStatus::AccessDenied);
}

TEST_F(HidLinkTest, DestructorUnregisters) {
    sim::VirtualClock clk;
    sim::VirtualHidPort p(clk);
    NullReceiver r;
    {
        dev::CHidLink l(p, p, clk);
        l.m_hNotifyWnd = &r;
        l.CheckPresence();
        p.AttachQuietly(std::make_unique<sim::AckingModel>());
    }
    // After the link is gone, events reach nobody (and do not crash).
    p.RaiseEvent(dev::DBT_DEVICEARRIVAL);
    SUCCEED();
}

}  // namespace

namespace {

TEST(VirtualHidPortTest, ReaderPluggedBackKeepsWhatItStored) {
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    auto model = std::make_unique<sim::AckingModel>();
    sim::ReaderModel* raw = model.get();
    sim::VirtualDevice& d = port.Attach(std::move(model));
    std::unique_ptr<sim::ReaderModel> back = port.DetachKeepingModel(d);
    EXPECT_EQ(back.get(), raw);
    EXPECT_TRUE(port.Devices().empty());
    sim::VirtualDevice& again = port.Attach(std::move(back));
    EXPECT_EQ(&again.Model(), raw);
}

}  // namespace
