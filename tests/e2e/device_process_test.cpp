#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver/DeviceProcess.h"

namespace {

// A stand-in for the device program: acknowledges every line, refuses lines
// starting with "bad", stays mute on "mute", answers "slow" late, chatters
// before "noisy", says a count before "frames" and ends on "quit".
const std::vector<std::string> FAKE_DEVICE = {"-c",
                                              "while read -r l; do case \"$l\" in"
                                              "  bad*) echo \"error $l: refused\" ;;"
                                              "  slow) sleep 0.2; echo 'ok slow' ;;"
                                              "  mute*) ;;"
                                              "  noisy*) echo 'some log line'; echo \"ok $l\" ;;"
                                              "  frames) echo 'frames 7'; echo 'ok frames' ;;"
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

TEST(DeviceProcess, AQueryGivesTheLineBeforeTheAcknowledgement) {
    e2e::DeviceProcess device;
    ASSERT_TRUE(device.Start("/bin/sh", FAKE_DEVICE));
    EXPECT_FALSE(device.Command("slow", 10));
    std::string answer = "stale";
    // The late "ok slow" comes first and is not taken for the answer.
    EXPECT_TRUE(device.Query("frames", answer, 1000)) << device.Error();
    EXPECT_EQ(answer, "frames 7");
    EXPECT_TRUE(device.Query("plug", answer));
    EXPECT_EQ(answer, "");
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
