#include <gtest/gtest.h>

#include "cli/CommandLine.h"

using cli::CommandLine;
using cli::SimulatedDevice;

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
        const CommandLine r = cli::ParseCommandLine(c.args);
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
    EXPECT_NE(cli::ParseCommandLine({"--frobnicate"}).error.find("--frobnicate"),
              std::string::npos);
    EXPECT_NE(cli::HelpText("reader-config").find("--simulate"), std::string::npos);
    EXPECT_EQ(cli::VersionText().rfind("reader-config ", 0), 0u);
}

}  // namespace

namespace {

TEST(CommandLine, ErrorsKeepTheOffendingArgument) {
    EXPECT_EQ(cli::ParseCommandLine({"--simulate=toaster"}).offending, "--simulate=toaster");
    EXPECT_EQ(cli::ParseCommandLine({"--simulate", "-x"}).offending, "-x");
}

}  // namespace

namespace {

TEST(CommandLine, Commands) {
    using Command = CommandLine::Command;
    struct Case {
        std::vector<std::string> args;
        Command command;
        std::string profile;
        uint32_t count;
        std::string log;
    } cases[] = {
        {{"read"}, Command::Read, "", 0, ""},
        {{"--simulate", "read", "--json"}, Command::Read, "", 0, ""},
        {{"apply", "p.json", "--trace", "-"}, Command::Apply, "p.json", 0, ""},
        {{"verify", "--", "-p.json"}, Command::Verify, "-p.json", 0, ""},
        {{"batch", "p.json", "--count", "5", "--log=d.csv"}, Command::Batch, "p.json", 5, "d.csv"},
        {{"batch", "p\xff.json", "--log", "\xe9.csv"}, Command::Batch, "p\xff.json", 0, "\xe9.csv"},
        {{"list", "--json"}, Command::List, "", 0, ""},
        {{"batch", "p.json", "--parallel", "--count", "16"}, Command::Batch, "p.json", 16, ""},
        {{"--serial", "S1", "apply", "p.json"}, Command::Apply, "p.json", 0, ""},
        // The toolkit's own options are the window's.
        {{"-platform", "offscreen", "--style=fusion", "-reverse"}, Command::None, "", 0, ""},
    };
    for (const Case& c : cases) {
        const CommandLine r = cli::ParseCommandLine(c.args);
        ASSERT_EQ(r.action, CommandLine::Action::Run) << c.args[0] << ": " << r.error;
        EXPECT_EQ(r.command, c.command) << c.args[0];
        EXPECT_EQ(r.profile, c.profile);
        EXPECT_EQ(r.count, c.count);
        EXPECT_EQ(r.logFile, c.log);
    }
    EXPECT_TRUE(cli::ParseCommandLine({"read", "--json"}).json);
    EXPECT_EQ(cli::ParseCommandLine({"read", "--device=/dev/hidraw3"}).device, "/dev/hidraw3");
    EXPECT_EQ(cli::ParseCommandLine({"--serial", "S1", "read"}).serial, "S1");
    const CommandLine several = cli::ParseCommandLine({"--simulate=reader,reader,keypad", "list"});
    using sim::SimulatedDevice;
    EXPECT_EQ(several.simulated, (std::vector{SimulatedDevice::Reader, SimulatedDevice::Reader,
                                              SimulatedDevice::Keypad}));
    EXPECT_EQ(several.simulate, SimulatedDevice::Reader);
}

TEST(CommandLine, CommandErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"-x"},
        {"frobnicate"},
        {"apply"},
        {"verify", "a.json", "b.json"},
        {"verify", "a.json", "--force"},
        {"read", "--count", "3"},
        {"batch", "a.json", "--count", "0"},
        {"batch", "a.json", "--count", "-1"},
        {"batch", "a.json", "--count", "3x"},
        {"batch", "a.json", "--log"},
        {"apply", "a.json", "--parallel"},
        {"--simulate", "--simulate-state", "s.json"},
        {"--simulate-state", "s.json", "list"},
        {"--parallel"},
        {"--json"},
        {"read", "-platform", "offscreen"},
        {"-platform"},
        {"--device", "/dev/hidraw0"},
        {"read", "--device"},
        {"read", "--serial="},
        {"read", "--device", "/dev/hidraw0", "--serial", "S1"},
        {"list", "--serial", "S1"},
        {"--simulate=reader,,keypad", "list"},
        {"--simulate=reader,", "list"},
        // An option or a command where a value belongs: the value was left out.
        {"read", "--device", "--json"},
        {"--simulate", "--simulate-state", "read", "list"},
        {"--trace", "--simulate", "read"},
    };
    for (const auto& args : bad) {
        const CommandLine r = cli::ParseCommandLine(args);
        EXPECT_EQ(r.action, CommandLine::Action::Error) << args[0];
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_NE(cli::HelpText("reader-config").find("Exit status:"), std::string::npos);
}

}  // namespace
