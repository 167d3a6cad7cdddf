// CHidLink against virtual readers on a virtual clock.

#include <gtest/gtest.h>

#include <algorithm>

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
    HidLinkTest() : port(clock), link(port, port) { link.m_hNotifyWnd = &receiver; }
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

TEST_F(HidLinkTest, OversizedReportsCountAsNotFound) {
    struct Case {
        size_t in, out;
        bool found;
    } cases[] = {{65, 65, true}, {128, 128, true}, {129, 65, false}, {65, 200, false}};
    for (const Case& c : cases) {
        sim::VirtualClock clk;
        sim::VirtualHidPort p(clk);
        dev::CHidLink l(p, p);
        sim::VirtualDevice& d = p.AttachQuietly(std::make_unique<sim::AckingModel>());
        d.inputReportLength = c.in;
        d.outputReportLength = c.out;
        EXPECT_EQ(l.CheckPresence(), c.found) << c.in << "/" << c.out;
        if (!c.found) {
            EXPECT_EQ(l.LastFindStatus(), dev::FindStatus::Unsupported);
        }
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
        dev::CHidLink l(p, p);
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
