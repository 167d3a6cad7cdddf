#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver/DeviceProcess.h"

namespace {

// A stand-in for the device program: acknowledges every line, refuses lines
// starting with "bad", stays mute on "mute", answers "slow" late, chatters
// before "noisy" and ends on "quit".
const std::vector<std::string> FAKE_DEVICE = {"-c",
                                              "while read -r l; do case \"$l\" in"
                                              "  bad*) echo \"error $l: refused\" ;;"
                                              "  slow) sleep 0.2; echo 'ok slow' ;;"
                                              "  mute*) ;;"
                                              "  noisy*) echo 'some log line'; echo \"ok $l\" ;;"
                                              "  quit) echo 'ok quit'; exit 0 ;;"
                                              "  *) echo \"ok $l\" ;;"
                                              " esac; done"};

TEST(DeviceProcess, AcknowledgedCommandsSucceedAndOthersSayWhy) {
    e2e::DeviceProcess device;
    ASSERT_TRUE(device.Start("/bin/sh", FAKE_DEVICE)) << device.Error();
    EXPECT_TRUE(device.Command("plug"));
    EXPECT_TRUE(device.Command("noisy"));
    EXPECT_FALSE(device.Command("bad thing"));
    EXPECT_EQ(device.Error(), "refused");
    EXPECT_FALSE(device.Command("mute", 50));
    EXPECT_NE(device.Error().find("no answer"), std::string::npos) << device.Error();
}

TEST(DeviceProcess, ALateAcknowledgementIsNotTakenForTheNextCommands) {
    e2e::DeviceProcess device;
    ASSERT_TRUE(device.Start("/bin/sh", FAKE_DEVICE));
    EXPECT_FALSE(device.Command("slow", 10));
    EXPECT_FALSE(device.Command("bad", 1000));
    EXPECT_EQ(device.Error(), "refused");
    EXPECT_TRUE(device.Command("unplug"));
}

TEST(DeviceProcess, AProgramThatEndedAnswersNothing) {
    e2e::DeviceProcess device;
    ASSERT_TRUE(device.Start("/bin/sh", FAKE_DEVICE));
    EXPECT_TRUE(device.Command("quit"));
    EXPECT_FALSE(device.Command("plug"));
    EXPECT_NE(device.Error(), "");
}

TEST(DeviceProcess, AProgramThatCannotRunFailsToStart) {
    e2e::DeviceProcess device;
    EXPECT_FALSE(device.Start("/nonexistent/uhid-reader", {}));
    EXPECT_NE(device.Error(), "");
}

}  // namespace
