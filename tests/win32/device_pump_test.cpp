// The commands' device-event pump on Windows: what its message-only window
// receives reaches the watcher's receiver before WaitForDevice returns, in
// order; with nothing received it returns at its time limit.

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "cli/win32/Win32Devices.h"
#include "toolkit/win32/Win32Api.h"

namespace {

struct Receiver : dev::DeviceChangeReceiver {
    std::vector<uint32_t> events;
    bool OnDeviceChange(uint32_t event, uintptr_t) override {
        events.push_back(event);
        return true;
    }
};

TEST(Win32DevicePump, DeliversWhatItsWindowReceived) {
    cli::Win32DevicePump pump;
    ASSERT_NE(pump.Window(), nullptr);
    Receiver receiver;
    pump.Watcher().Register(&receiver);
    const auto window = static_cast<HWND>(pump.Window());
    // Sent from another thread, as the system sends them: each waits until
    // the pump's thread has taken it (the time limit only ends the test of a
    // pump that never takes it).
    std::thread system([window] {
        for (const WPARAM event : {dev::DBT_DEVICEARRIVAL, dev::DBT_DEVICEREMOVECOMPLETE})
            SendMessageTimeoutW(window, WM_DEVICECHANGE, event, 0, SMTO_NORMAL, 10000, nullptr);
    });
    for (int wait = 0; wait < 2 && receiver.events.size() < 2; ++wait)
        EXPECT_TRUE(pump.WaitForDevice(-1));
    system.join();
    EXPECT_EQ(receiver.events,
              (std::vector<uint32_t>{dev::DBT_DEVICEARRIVAL, dev::DBT_DEVICEREMOVECOMPLETE}));
}

TEST(Win32DevicePump, ReturnsAtItsTimeLimitWithNothingDelivered) {
    cli::Win32DevicePump pump;
    Receiver receiver;
    pump.Watcher().Register(&receiver);
    EXPECT_TRUE(pump.WaitForDevice(0));
    EXPECT_TRUE(receiver.events.empty());
}

}  // namespace
