#include <gtest/gtest.h>

#include "app/CommandLine.h"

using app::CommandLine;
using app::SimulatedDevice;

namespace {

TEST(CommandLine, Options) {
    struct Case {
        std::vector<std::string> args;
        CommandLine::Action action;
        SimulatedDevice device;
        std::string trace;
    } cases[] = {
        {{}, CommandLine::Action::Run, SimulatedDevice::None, ""},
        {{"--simulate"}, CommandLine::Action::Run, SimulatedDevice::Reader, ""},
        {{"--simulate=keypad"}, CommandLine::Action::Run, SimulatedDevice::Keypad, ""},
        {{"--simulate=old-reader"}, CommandLine::Action::Run, SimulatedDevice::OldReader, ""},
        {{"--simulate=silent", "--trace", "-"},
         CommandLine::Action::Run,
         SimulatedDevice::Silent,
         "-"},
        {{"--trace=t.log"}, CommandLine::Action::Run, SimulatedDevice::None, "t.log"},
        {{"--help", "--bogus"}, CommandLine::Action::Help, SimulatedDevice::None, ""},
        {{"-h"}, CommandLine::Action::Help, SimulatedDevice::None, ""},
        {{"--version"}, CommandLine::Action::Version, SimulatedDevice::None, ""},
        {{"--bogus"}, CommandLine::Action::Error, SimulatedDevice::None, ""},
        {{"--simulate=toaster"}, CommandLine::Action::Error, SimulatedDevice::None, ""},
        {{"--trace"}, CommandLine::Action::Error, SimulatedDevice::None, ""},
        {{"--trace="}, CommandLine::Action::Error, SimulatedDevice::None, ""},
    };
    for (const Case& c : cases) {
        const CommandLine r = app::ParseCommandLine(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.action, c.action) << label;
        if (r.action == CommandLine::Action::Run) {
            EXPECT_EQ(r.simulate, c.device) << label;
            EXPECT_EQ(r.traceFile, c.trace) << label;
        }
        if (r.action == CommandLine::Action::Error) {
            EXPECT_FALSE(r.error.empty()) << label;
        }
    }
}

TEST(CommandLine, ErrorNamesTheOffendingOption) {
    EXPECT_NE(app::ParseCommandLine({"--frobnicate"}).error.find("--frobnicate"),
              std::string::npos);
    EXPECT_NE(app::HelpText("reader-config").find("--simulate"), std::string::npos);
    EXPECT_EQ(app::VersionText().rfind("reader-config ", 0), 0u);
}

}  // namespace

namespace {

TEST(CommandLine, ErrorsKeepTheOffendingArgument) {
    EXPECT_EQ(app::ParseCommandLine({"--simulate=toaster"}).offending, "--simulate=toaster");
    EXPECT_EQ(app::ParseCommandLine({"--simulate", "-x"}).offending, "-x");
}

}  // namespace
