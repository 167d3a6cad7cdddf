// The hidapi and libudev adapters on this machine: they must work, or fail
// cleanly, with no reader attached (the test machine has none).

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "device/DeviceWatcher.h"
#include "device/HidrawPaths.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"

namespace {

class CountingReceiver : public dev::DeviceChangeReceiver {
  public:
    bool OnDeviceChange(uint32_t, uintptr_t) override {
        ++events;
        return true;
    }
    int events = 0;
};

TEST(HidapiPortTest, EnumeratesInNodeOrderAndReportsMissingNodes) {
    dev::HidapiPort port;
    const std::vector<dev::HidInterfaceInfo> found = port.Enumerate();
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return dev::HidrawPathBefore(a.path, b.path);
    }));
    dev::OpenError error = dev::OpenError::None;
    EXPECT_EQ(port.Open("/dev/hidraw-none-such", &error), nullptr);
    EXPECT_EQ(error, dev::OpenError::NotFound);
    EXPECT_EQ(port.Open("/dev/hidraw-none-such", nullptr), nullptr);
}

// A parallel batch enumerates on several threads at once. Where hidapi
// finds no HID device at all (as on the test machine) it sets its global
// error text, which every enumeration frees and replaces.
TEST(HidapiPortTest, EnumeratesOnSeveralThreadsAtOnce) {
    dev::HidapiPort port;
    const size_t expected = port.Enumerate().size();
    std::vector<std::thread> threads;
    std::vector<int> same(4, 0);
    for (size_t t = 0; t < same.size(); ++t)
        threads.emplace_back([&port, &same, expected, t] {
            for (int i = 0; i < 500; ++i) same[t] += port.Enumerate().size() == expected;
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(same, std::vector<int>(4, 500));
}

TEST(UdevWatcherTest, DispatchReturnsAtOnceWhenNothingIsPending) {
    for (auto source : {dev::UdevWatcher::Source::Udev, dev::UdevWatcher::Source::Kernel,
                        dev::UdevWatcher::Source::Running}) {
        dev::UdevWatcher watcher(source);
        CountingReceiver receiver;
        if (watcher.Fd() < 0) {
            // No netlink here: the watcher says so instead of pretending.
            EXPECT_FALSE(watcher.Register(&receiver));
            continue;
        }
        EXPECT_TRUE(watcher.Register(&receiver));
        watcher.Dispatch();  // would hang here if the monitor blocked
        watcher.Unregister();
        watcher.Dispatch();
        EXPECT_EQ(receiver.events, 0);
    }
}

}  // namespace
