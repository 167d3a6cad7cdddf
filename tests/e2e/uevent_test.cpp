#include "e2e/driver/Uevent.h"

#include <gtest/gtest.h>

#include <string>

#include "device/DeviceWatcher.h"
#include "e2e/driver/Results.h"

namespace {

using Events = std::vector<uint32_t>;

TEST(HidId, ReadsBusVendorAndProduct) {
    const auto ids = e2e::ParseHidId(
        "DRIVER=hid-generic\nHID_ID=0003:0000016C:000004F3\nHID_NAME=e2e card reader\n");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->bus, 3);
    EXPECT_EQ(ids->vendor, 0x016C);
    EXPECT_EQ(ids->product, 0x04F3);
}

TEST(HidId, MissingOrMalformedGivesNothing) {
    for (const char* text :
         {"", "DRIVER=hid-generic\n", "HID_ID=0003:0000016C\n", "HID_ID=0003:0000016C:zz\n",
          "HID_ID=0003:0001016C:000004F3\n", "XHID_ID=0003:0000016C:000004F3\n", "HID_ID=::\n"})
        EXPECT_FALSE(e2e::ParseHidId(text)) << text;
}

Events For(const std::string& message) {
    return e2e::EventsForUevent(message.data(), message.size());
}

TEST(Uevent, HidrawNodeAddedOrRemovedGivesTheWatcherEvents) {
    using namespace std::string_literals;
    const std::string path = "/devices/virtual/misc/uhid/0003:016C:04F3.0001/hidraw/hidraw0"s;
    EXPECT_EQ(For("add@" + path + "\0ACTION=add\0DEVPATH="s + path + "\0SUBSYSTEM=hidraw\0"s),
              (Events{dev::DBT_DEVICEARRIVAL, dev::DBT_DEVNODES_CHANGED}));
    EXPECT_EQ(For("remove@" + path + "\0ACTION=remove\0SUBSYSTEM=hidraw\0MINOR=0"s),
              (Events{dev::DBT_DEVICEREMOVECOMPLETE, dev::DBT_DEVNODES_CHANGED}));
}

TEST(Uevent, OtherMessagesGiveNothing) {
    using namespace std::string_literals;
    for (const std::string& m : {"add@/devices/x\0ACTION=add\0SUBSYSTEM=hid\0"s,
                                 "bind@/x\0ACTION=bind\0SUBSYSTEM=hidraw\0"s,
                                 "change@/x\0ACTION=change\0SUBSYSTEM=hidraw\0"s, "ACTION=add"s,
                                 ""s, "add@/x\0ACTION=add\0SUBSYSTEM=hidrawx\0"s})
        EXPECT_EQ(For(m), Events{}) << m;
}

TEST(Results, CountsAndFormatsEachOperation) {
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    e2e::Results results(sink);
    EXPECT_TRUE(results.Record("s", "a", true, 1.25, "fine"));
    EXPECT_FALSE(results.Record("s", "b", false, 600.0));
    results.Info("s", "not counted");
    std::fclose(sink);
    EXPECT_EQ(results.Passed(), 1);
    EXPECT_EQ(results.Failed(), 1);
    EXPECT_EQ(results.Summary(), "vm-driver: 2 operations, 1 ok, 1 failed");
    const std::string line = e2e::FormatResult("presence", "CheckPresence", false, 12.34, "gone");
    EXPECT_EQ(line.rfind("RESULT FAIL presence/CheckPresence ", 0), 0u) << line;
    EXPECT_NE(line.find(" 12.3 ms  gone"), std::string::npos) << line;
}

}  // namespace
