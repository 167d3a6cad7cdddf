// What each kernel device event raises for the dialog.

#include <gtest/gtest.h>

#include "device/DeviceEvents.h"
#include "device/DeviceWatcher.h"

namespace {

using namespace dev;

struct Case {
    const char* subsystem;
    const char* action;
    std::vector<uint32_t> events;
};

TEST(DeviceEventsTest, TranslatesEveryAction) {
    const Case cases[] = {
        {"hidraw", "add", {DBT_DEVICEARRIVAL, DBT_DEVNODES_CHANGED}},
        {"hidraw", "remove", {DBT_DEVICEREMOVECOMPLETE, DBT_DEVNODES_CHANGED}},
        {"hidraw", "change", {DBT_DEVNODES_CHANGED}},
        {"hidraw", "bind", {DBT_DEVNODES_CHANGED}},
        {"hidraw", "unbind", {DBT_DEVNODES_CHANGED}},
        {"hidraw", "move", {DBT_DEVNODES_CHANGED}},
        // A USB device coming or going changes the tree; it is no HID interface yet.
        {"usb", "add", {DBT_DEVNODES_CHANGED}},
        {"usb", "remove", {DBT_DEVNODES_CHANGED}},
        {"usb", "bind", {DBT_DEVNODES_CHANGED}},
        {"", "add", {DBT_DEVNODES_CHANGED}},
        {"hidraw", "", {}},
        {"usb", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceEventsFor(c.subsystem, c.action), c.events)
            << c.subsystem << " " << c.action;
}

}  // namespace
