#include <gtest/gtest.h>

#include "e2e/uhid/DeviceCommand.h"

using e2e::CommandKind;
using e2e::ParseCommand;

namespace {

struct GoodCase {
    const char* line;
    CommandKind kind;
    int ms;
    const char* model;
};

class GoodCommand : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodCommand, Parses) {
    const GoodCase& c = GetParam();
    std::string error = "stale";
    const auto cmd = ParseCommand(c.line, &error);
    ASSERT_TRUE(cmd) << c.line << ": " << error;
    EXPECT_EQ(cmd->kind, c.kind);
    EXPECT_EQ(cmd->ms, c.ms);
    EXPECT_EQ(cmd->model, c.model);
    EXPECT_EQ(error, "");
}

INSTANTIATE_TEST_SUITE_P(Commands, GoodCommand,
                         ::testing::Values(GoodCase{"plug", CommandKind::Plug, 0, ""},
                                           GoodCase{"  unplug \r", CommandKind::Unplug, 0, ""},
                                           GoodCase{"quit", CommandKind::Quit, 0, ""},
                                           GoodCase{"frames", CommandKind::Frames, 0, ""},
                                           GoodCase{"model silent", CommandKind::Model, 0,
                                                    "silent"},
                                           GoodCase{"delay 250", CommandKind::Delay, 250, ""},
                                           GoodCase{"delay 0", CommandKind::Delay, 0, ""},
                                           GoodCase{"delay model", CommandKind::Delay, -1, ""},
                                           GoodCase{"sleep 1500", CommandKind::Sleep, 1500, ""}));

class BadCommand : public ::testing::TestWithParam<const char*> {};

TEST_P(BadCommand, IsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(ParseCommand(GetParam(), &error));
    EXPECT_NE(error, "") << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Commands, BadCommand,
                         ::testing::Values("jump", "plug now", "model", "model a b", "delay",
                                           "delay -5", "delay 12x", "delay 600001", "delay 5 6",
                                           "sleep", "sleep soon", "send", "send 1g", "send 123",
                                           "send -1", "send +1", "frames 2"));

TEST(DeviceCommand, BlankLineIsNeitherCommandNorError) {
    std::string error = "stale";
    EXPECT_FALSE(ParseCommand(" \t\r", &error));
    EXPECT_EQ(error, "");
}

TEST(DeviceCommand, SendFillsTheFrameAndPadsWithZeros) {
    const auto cmd = ParseCommand("send 20 a0 Ff 7", nullptr);
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->kind, CommandKind::Send);
    sim::Frame expected{};
    expected[0] = 0x20;
    expected[1] = 0xA0;
    expected[2] = 0xFF;
    expected[3] = 0x07;
    EXPECT_EQ(cmd->frame, expected);
}

TEST(DeviceCommand, SendTakesAtMostOneFrame) {
    std::string full = "send";
    for (int i = 0; i < 64; ++i) full += " 11";
    ASSERT_TRUE(ParseCommand(full, nullptr));
    std::string error;
    EXPECT_FALSE(ParseCommand(full + " 11", &error));
    EXPECT_NE(error, "");
}

TEST(DeviceCommand, ScriptSplitsOnSemicolonsAndDropsBlanks) {
    EXPECT_EQ(e2e::SplitScript(" plug; sleep 500 ;;unplug ;"),
              (std::vector<std::string>{"plug", "sleep 500", "unplug"}));
    EXPECT_TRUE(e2e::SplitScript(" ; ").empty());
}

}  // namespace
