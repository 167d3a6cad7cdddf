// The command line's options for people and for configuration managers:
// each command's help, -V, -q and -v, --json on every command, apply that
// writes only what differs (and --force), batch's summary, "-" for standard
// input and output, the system's reason in errors, and the messages in
// Chinese.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "base/FilePath.h"
#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/Commands.h"
#include "cli/StopSignal.h"
#include "cli/Texts.h"
#include "device/ReportTrace.h"
#include "keypad/KeyNameTable.h"
#include "profile/Profile.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "support/CliFixture.h"

namespace {

using cli::CommandLine;
using nlohmann::json;

profile::Profile Changed() {
    profile::Profile p;
    p.idFormat = 5;
    p.SetIdSymbol(reader::FIELD_ID_MIDDLE, true, "--");
    p.enter = false;
    return p;
}

// The steps of a trace without their times: "Operation W|R bytes".
std::vector<std::string> Steps(const std::string& trace) {
    std::vector<std::string> steps;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        auto step = dev::ParseTraceStep(line);
        if (!step) continue;
        step->seconds = 0;
        const std::string text = dev::FormatTraceStep(*step);
        steps.push_back(text.substr(text.find(' ') + 1));  // without the time
    }
    return steps;
}

// The reports a trace shows written by an operation ("SetDevice").
int Written(const std::string& trace, const std::string& operation) {
    int n = 0;
    for (const std::string& step : Steps(trace)) n += step.rfind(operation + " W ", 0) == 0;
    return n;
}

class CliOptionsTest : public CliFixture {
  protected:
    void SetUp() override {
        CliFixture::SetUp();
        cli::ForgetStopSignal();
    }
    void TearDown() override {
        CliFixture::TearDown();
        cli::ForgetStopSignal();
    }

    sim::VirtualDevice& AttachReader() {
        return port.AttachQuietly(std::make_unique<sim::CardReaderModel>());
    }
    // A reader that holds the factory settings (a fresh one holds none).
    sim::VirtualDevice& ConfiguredReader() {
        sim::VirtualDevice& d = AttachReader();
        const std::string factory = WriteProfile("factory.json", profile::Profile{});
        EXPECT_EQ(Run({"--device", d.Path(), "apply", "--force", factory}).status, 0);
        return d;
    }
    // reader-config ARGS... on the devices of port, the reports it sends and
    // receives in trace.
    Outcome Traced(const std::vector<std::string>& args, std::string* trace) {
        std::ostringstream text;
        dev::TraceWriter writer(text, clock);
        Outcome o = Run(args, {}, &writer);
        *trace = text.str();
        return o;
    }
    // reader-config ARGS... on the devices of port; input is standard input.
    Outcome Run(const std::vector<std::string>& args, const std::string& input = {},
                dev::ReportTracer* tracer = nullptr, cli::EventPump* pump = nullptr) {
        cli::NoDeviceEvents none;
        std::ostringstream out, err;
        std::istringstream in(input);
        cli::Environment env{port, port, clock, pump ? *pump : none, out, err, tracer};
        env.newSessionSpace = cli::VirtualSessionSpaces(port, clock);
        env.in = &in;
        const CommandLine options = cli::ParseCommandLine(args);
        EXPECT_EQ(options.action, CommandLine::Action::Run) << options.error;
        const int status = cli::RunCommand(options, env);
        return {status, out.str(), err.str()};
    }
    // reader-config ARGS... as the program runs it, in the system language given.
    static Outcome Program(
        const std::vector<std::string>& args,
        cli::Language (*system)() = [] { return cli::Language::English; }) {
        std::ostringstream out, err;
        const int status = cli::RunWithoutWindow(
            cli::ParseCommandLine(args), out, err,
            [] { return std::unique_ptr<cli::SystemDevices>(); }, system);
        return {status, out.str(), err.str()};
    }
};

TEST(CommandLineOptions, EachCommandHasItsHelp) {
    struct Case {
        std::vector<std::string> args;
        CommandLine::Command command;
    } cases[] = {
        {{"read", "--help"}, CommandLine::Command::Read},
        {{"apply", "p.json", "-h"}, CommandLine::Command::Apply},
        {{"--help", "verify"}, CommandLine::Command::Verify},
        {{"--simulate", "batch", "--help", "--bogus"}, CommandLine::Command::Batch},
        {{"list", "--help"}, CommandLine::Command::List},
        {{"--help"}, CommandLine::Command::None},
    };
    for (const Case& c : cases) {
        const CommandLine r = cli::ParseCommandLine(c.args);
        EXPECT_EQ(r.action, CommandLine::Action::Help) << c.args[0];
        EXPECT_EQ(r.command, c.command) << c.args[0];
    }
    const std::string read = cli::HelpText("reader-config", CommandLine::Command::Read);
    EXPECT_EQ(read.rfind("Usage: reader-config [OPTION]... read [--json]\n", 0), 0u) << read;
    EXPECT_EQ(read.find("batch PROFILE"), std::string::npos) << read;
    const std::string apply = cli::HelpText("reader-config", CommandLine::Command::Apply);
    EXPECT_NE(apply.find("--force"), std::string::npos);
    EXPECT_NE(apply.find("unchanged"), std::string::npos);
    const std::string batch = cli::HelpText("reader-config", CommandLine::Command::Batch);
    EXPECT_NE(batch.find("summary"), std::string::npos);
    // The whole program's help names every new option.
    const std::string all = cli::HelpText("reader-config");
    for (const char* option : {"-V, --version", "-q, --quiet", "-v, --verbose", "--lang zh|en",
                               "--json", "--force", "COMMAND --help", "- reads", "Exit status:"})
        EXPECT_NE(all.find(option), std::string::npos) << option;
}

TEST(CommandLineOptions, VersionQuietVerboseForceLangAndJson) {
    EXPECT_EQ(cli::ParseCommandLine({"-V"}).action, CommandLine::Action::Version);
    EXPECT_EQ(cli::ParseCommandLine({"read", "-V"}).action, CommandLine::Action::Version);
    EXPECT_TRUE(cli::ParseCommandLine({"-q", "read"}).quiet);
    EXPECT_TRUE(cli::ParseCommandLine({"batch", "p.json", "--quiet"}).quiet);
    EXPECT_EQ(cli::ParseCommandLine({"-v", "read"}).verbose, 1);
    EXPECT_EQ(cli::ParseCommandLine({"-vv", "read", "-v"}).verbose, 3);
    EXPECT_EQ(cli::ParseCommandLine({"--verbose", "read"}).verbose, 1);
    EXPECT_TRUE(cli::ParseCommandLine({"apply", "p.json", "--force"}).force);
    EXPECT_EQ(cli::ParseCommandLine({"--lang", "zh", "read"}).language,
              CommandLine::LanguageChoice::Chinese);
    EXPECT_EQ(cli::ParseCommandLine({"read", "--lang=en"}).language,
              CommandLine::LanguageChoice::English);
    EXPECT_EQ(cli::ParseCommandLine({"apply", "-"}).profile, "-");
    EXPECT_EQ(cli::ParseCommandLine({"batch", "-", "--log", "-"}).logFile, "-");
    for (const char* command : {"read", "list"})
        EXPECT_TRUE(cli::ParseCommandLine({command, "--json"}).json) << command;
    for (const char* command : {"apply", "verify", "batch"})
        EXPECT_TRUE(cli::ParseCommandLine({command, "p.json", "--json"}).json) << command;
    const std::vector<std::vector<std::string>> bad = {
        {"-q", "-v", "read"},
        {"verify", "p.json", "--force"},
        {"batch", "p.json", "--force"},
        {"--lang", "fr", "read"},
        {"--lang", "read"},
        {"-q"},
        {"--lang=zh"},
        {"batch", "p.json", "--json", "--log", "-"},
        {"--simulate", "--simulate-state", "-", "list"},
        {"--force"},
    };
    for (const auto& args : bad) {
        const CommandLine r = cli::ParseCommandLine(args);
        EXPECT_EQ(r.action, CommandLine::Action::Error) << args[0] << " " << args.back();
        EXPECT_FALSE(r.errorZh.empty());
    }
}

// apply reads the device first and writes only what differs: a second apply
// of the same profile writes nothing and says so.
TEST_F(CliOptionsTest, ApplyWritesOnlyWhenTheDeviceDiffers) {
    ConfiguredReader();
    const std::string p = WriteProfile("p.json", Changed());
    std::string trace;

    const Outcome first = Traced({"apply", p}, &trace);
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out,
              "changed idFormat: 1 -> 5\n"
              "changed middleSeparator.enabled: false -> true\n"
              "changed middleSeparator.text: (not in effect) -> \"--\"\n"
              "changed enter: true -> false\n"
              "applied: the reader holds the profile\n");
    EXPECT_GT(Written(trace, "SetDevice"), 0) << trace;

    const Outcome second = Traced({"apply", p}, &trace);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "unchanged: the reader holds the profile\n");
    EXPECT_GT(Written(trace, "ReadDevice"), 0) << trace;  // it was read
    EXPECT_EQ(Written(trace, "SetDevice"), 0) << trace;

    // --force writes all the same, and says what it always said.
    const Outcome forced = Traced({"apply", "--force", p}, &trace);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(forced.out, "applied: the reader holds the profile\n");
    EXPECT_GT(Written(trace, "SetDevice"), 0) << trace;
}

// On the wire: --force sends what apply always sent (Set Device, then Read
// Device); apply sends a Read Device first and then, when the device
// differs, exactly that.
TEST_F(CliOptionsTest, ForceSendsTheFramesApplyAlwaysSent) {
    const std::string p = WriteProfile("p.json", Changed());
    auto Traced = [&](const std::vector<std::string>& args) {
        sim::VirtualClock c;
        sim::VirtualHidPort hub(c);
        hub.AttachQuietly(std::make_unique<sim::CardReaderModel>());
        std::ostringstream trace;
        dev::TraceWriter writer(trace, c);
        cli::NoDeviceEvents none;
        std::ostringstream out, err;
        cli::Environment env{hub, hub, c, none, out, err, &writer};
        EXPECT_EQ(cli::RunCommand(cli::ParseCommandLine(args), env), 0) << err.str();
        return Steps(trace.str());
    };
    const std::vector<std::string> forced = Traced({"apply", "--force", p});
    const std::vector<std::string> batch = Traced({"batch", p, "--count", "1"});
    ASSERT_FALSE(forced.empty());
    EXPECT_EQ(forced, batch);  // Set Device and its read-back, as batch sends them
    EXPECT_EQ(forced.front().find("SetDevice W"), 0u) << forced.front();

    const std::vector<std::string> plain = Traced({"apply", p});
    ASSERT_GT(plain.size(), forced.size());
    const size_t read = plain.size() - forced.size();
    EXPECT_EQ(std::vector<std::string>(plain.begin() + static_cast<long>(read), plain.end()),
              forced);
    for (size_t i = 0; i < read; ++i) EXPECT_EQ(plain[i].find("ReadDevice "), 0u) << plain[i];
}

// A keypad whose keys alone differ gets Config key and no Set Device; one
// that holds no reader settings gets them all.
TEST_F(CliOptionsTest, ApplyWritesTheKeysAloneWhenOnlyTheyDiffer) {
    port.AttachQuietly(std::make_unique<sim::KeypadModel>(std::make_unique<sim::CardReaderModel>(),
                                                          DEFAULT_KEY_CODES));
    profile::Profile p;
    p.keys = reader::KeyCodes{};
    p.keys->fill('1');
    const std::string file = WriteProfile("keys.json", p);
    const Outcome fresh = Run({"apply", file});
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(fresh.out.rfind("changed: the reader held no settings\n", 0), 0u) << fresh.out;

    (*p.keys)[3] = KeyNameToCode("F12");
    const std::string one = WriteProfile("one.json", p);
    std::string trace;
    const Outcome o = Traced({"apply", one, "--json"}, &trace);
    EXPECT_EQ(o.status, 0) << o.err;
    const json d = json::parse(o.out);
    EXPECT_EQ(d["result"], "applied");
    EXPECT_EQ(d["changed"], true);
    ASSERT_EQ(d["written"].size(), 1u) << o.out;
    EXPECT_EQ(d["written"][0]["field"], "KEY4");
    EXPECT_EQ(d["written"][0]["to"], "\"F12\"");
    EXPECT_EQ(d["unchanged"].size(), 17u + 19u) << o.out;  // the general settings and 19 keys
    EXPECT_EQ(Written(trace, "SetDevice"), 0) << trace;
    EXPECT_GT(Written(trace, "ConfigKeyboard"), 0) << trace;
}

TEST_F(CliOptionsTest, EveryCommandSpeaksJson) {
    ConfiguredReader();
    const std::string p = WriteProfile("p.json", Changed());

    const json list = json::parse(Run({"list", "--json"}).out);
    EXPECT_EQ(list["command"], "list");
    EXPECT_EQ(list["version"], 1);
    ASSERT_EQ(list["readers"].size(), 1u);
    EXPECT_EQ(list["readers"][0]["path"], "/dev/vhidraw0");
    EXPECT_EQ(list["readers"][0]["openable"], true);

    // read --json is a profile.
    EXPECT_TRUE(profile::ParseProfile(Run({"read", "--json"}).out).profile);

    const Outcome differs = Run({"verify", p, "--json"});
    EXPECT_EQ(differs.status, 1);
    const json v = json::parse(differs.out);
    EXPECT_EQ(v["command"], "verify");
    EXPECT_EQ(v["matches"], false);
    EXPECT_EQ(v["configured"], true);
    EXPECT_EQ(v["device"], "/dev/vhidraw0");
    EXPECT_EQ(v["serial"], "VR000001");
    EXPECT_EQ(v["differences"][0],
              json({{"field", "idFormat"}, {"expected", "5"}, {"found", "1"}}));

    const json applied = json::parse(Run({"apply", p, "--json"}).out);
    EXPECT_EQ(applied["changed"], true);
    EXPECT_EQ(applied["result"], "applied");
    EXPECT_EQ(applied["written"][0], json({{"field", "idFormat"}, {"from", "1"}, {"to", "5"}}));
    const Outcome again = Run({"apply", p, "--json"});
    const json unchanged = json::parse(again.out);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(unchanged["changed"], false);
    EXPECT_EQ(unchanged["result"], "unchanged");
    EXPECT_TRUE(unchanged["written"].empty());
    const json forced = json::parse(Run({"apply", p, "--json", "--force"}).out);
    EXPECT_EQ(forced["changed"], true);
    EXPECT_EQ(forced["forced"], true);
    EXPECT_EQ(forced["written"][0], json({{"field", "idFormat"}, {"from", nullptr}, {"to", "5"}}));

    EXPECT_EQ(json::parse(Run({"verify", p, "--json"}).out)["matches"], true);

    // An error is a document too, beside the message on standard error.
    port.DetachQuietly(*port.Devices().front());
    const Outcome none = Run({"apply", p, "--json"});
    EXPECT_EQ(none.status, 2);
    const json error = json::parse(none.out);
    EXPECT_EQ(error["command"], "apply");
    EXPECT_NE(error["error"].get<std::string>().find("no reader attached"), std::string::npos);
    EXPECT_NE(none.err.find("no reader attached"), std::string::npos);
}

// A reader that holds no settings differs, as data.
TEST_F(CliOptionsTest, VerifyJsonOfAReaderNeverConfigured) {
    port.AttachQuietly(std::make_unique<sim::KeypadModel>(std::make_unique<sim::CardReaderModel>(),
                                                          DEFAULT_KEY_CODES));
    const Outcome o = Run({"verify", WriteProfile("p.json", profile::Profile{}), "--json"});
    EXPECT_EQ(o.status, 1);
    const json d = json::parse(o.out);
    EXPECT_EQ(d["matches"], false);
    EXPECT_EQ(d["configured"], false);
}

// The document is the library's: a device's own strings stay data.
TEST_F(CliOptionsTest, ListJsonHoldsAnySerial) {
    AttachReader().serial = "a\"b\\c\n\x1b[31m\xff";
    port.AttachQuietly(std::make_unique<sim::CardReaderModel>()).openError =
        dev::OpenError::AccessDenied;
    const json d = json::parse(Run({"list", "--json"}).out);
    ASSERT_EQ(d["readers"].size(), 2u);
    EXPECT_EQ(d["readers"][0]["serial"], "a\"b\\c\n\x1b[31m\xEF\xBF\xBD");
    EXPECT_EQ(d["readers"][1]["openable"], false);
    EXPECT_EQ(d["readers"][1]["reason"].get<std::string>().rfind("access denied", 0), 0u);
}

// batch: one line per reader as it finishes, then the summary; in JSON one
// object a line.
TEST_F(CliOptionsTest, BatchEndsWithASummary) {
    const std::string p = WriteProfile("p.json", Changed());
    port.AttachQuietly(std::make_unique<sim::CardReaderModel>()).openError =
        dev::OpenError::AccessDenied;
    for (int i = 0; i < 3; ++i) AttachReader();
    auto silent = std::make_unique<sim::CardReaderModel>();
    silent->SetSilent(true);
    port.AttachQuietly(std::move(silent));
    const Outcome text = Run({"batch", p, "--parallel", "--count", "4"});
    EXPECT_EQ(text.status, 1) << text.err;
    EXPECT_NE(text.out.find("\nsummary: 3 configured, 1 failed, 1 skipped\n"), std::string::npos)
        << text.out;
    EXPECT_EQ(text.out.substr(text.out.rfind('\n', text.out.size() - 2) + 1),
              "summary: 3 configured, 1 failed, 1 skipped\n");

    std::vector<json> lines;
    std::istringstream in(Run({"batch", p, "--parallel", "--count", "4", "--json"}).out);
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    ASSERT_EQ(lines.size(), 5u);
    int failed = 0;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i]["command"], "batch");
        EXPECT_EQ(lines[i]["event"], "reader");
        EXPECT_EQ(lines[i]["of"], 4);
        failed += lines[i]["result"] == "failed";
        EXPECT_EQ(lines[i]["error"].is_null(), lines[i]["result"] != "failed");
    }
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(lines[4], json({{"command", "batch"},
                              {"version", 1},
                              {"event", "summary"},
                              {"configured", 3},
                              {"failed", 1},
                              {"skipped", 1}}));
}

// Several readers and no --parallel: the refusal points to --parallel, which
// batch takes, not to --serial, which it refuses.
TEST_F(CliOptionsTest, BatchRefusalSuggestsParallel) {
    AttachReader();
    AttachReader();
    const Outcome o = Run({"batch", WriteProfile("p.json", Changed())});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("2 readers are attached; batch configures one at a time: leave one "
                         "attached, or configure them all at once with --parallel:"),
              std::string::npos)
        << o.err;
    EXPECT_EQ(o.err.find("--serial"), std::string::npos) << o.err;
}

// Stopped (Ctrl+C), a batch without --count finishes the reader in hand and
// sums up before the signal ends the program.
TEST_F(CliOptionsTest, AStoppedBatchPrintsItsSummary) {
    struct StopAfter : cli::NoDeviceEvents {
        int events = 3;
        bool WaitForDevice(int) override {
            if (--events == 0) cli::NoteStopSignal(2);
            return true;
        }
    } pump;
    AttachReader();
    const Outcome o = Run({"batch", WriteProfile("p.json", Changed())}, {}, nullptr, &pump);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "[1] /dev/vhidraw0: verified\nsummary: 1 configured, 0 failed, 0 skipped\n");
    EXPECT_EQ(o.err.substr(o.err.rfind('\n', o.err.size() - 2) + 1),
              "reader-config: batch: stopped\n")
        << o.err;
}

TEST_F(CliOptionsTest, QuietAndVerbose) {
    ConfiguredReader();
    const std::string p = WriteProfile("p.json", Changed());
    const Outcome quiet = Run({"-q", "batch", p, "--count", "1"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "summary: 1 configured, 0 failed, 0 skipped\n");
    EXPECT_EQ(quiet.err, "");

    ASSERT_EQ(Run({"apply", "--force", Path("factory.json")}).status, 0);
    const Outcome verbose = Run({"-v", "verify", p});
    EXPECT_NE(verbose.err.find("reader-config: device /dev/vhidraw0 (serial VR000001)\n"),
              std::string::npos)
        << verbose.err;
    EXPECT_NE(verbose.err.find("reader-config: Read Device: /dev/vhidraw0\n"), std::string::npos);
    EXPECT_EQ(verbose.err.find("read idFormat"), std::string::npos);
    const Outcome more = Run({"-vv", "apply", p});
    EXPECT_NE(more.err.find("reader-config:   read idFormat = 1\n"), std::string::npos) << more.err;
    EXPECT_NE(more.err.find("reader-config:   write idFormat = 5\n"), std::string::npos);
    EXPECT_NE(more.err.find("reader-config: Set Device: /dev/vhidraw0\n"), std::string::npos);
    // The output is what it is without -v.
    EXPECT_EQ(Run({"-v", "verify", p}).out, "the reader holds the profile\n");
}

// "-": the profile from standard input, the batch log to standard output.
TEST_F(CliOptionsTest, DashIsStandardInputAndOutput) {
    AttachReader();
    const std::string text = profile::ProfileToJson(Changed());
    const Outcome apply = Run({"apply", "-"}, text);
    EXPECT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(Run({"verify", "-"}, text).out, "the reader holds the profile\n");
    const Outcome broken = Run({"verify", "-"}, "{\"version\": 1");
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.err.rfind("reader-config: standard input: ", 0), 0u) << broken.err;

    const Outcome batch = Run({"batch", "-", "--count", "1", "--log", "-"}, text);
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.out.rfind("time,count,result,device,serial\r\n", 0), 0u) << batch.out;
    EXPECT_NE(batch.out.find(",1,verified,/dev/vhidraw0,VR000001\r\n"), std::string::npos);
    EXPECT_EQ(batch.out.find("[1/1]"), std::string::npos) << batch.out;
    EXPECT_NE(batch.err.find("[1/1] /dev/vhidraw0: verified\n"), std::string::npos) << batch.err;
    EXPECT_NE(batch.err.find("summary: 1 configured"), std::string::npos) << batch.err;
}

// A file that cannot be read or written is named once, with the system's reason.
TEST_F(CliOptionsTest, FileErrorsGiveTheSystemsReason) {
    AttachReader();
    const std::string missing = Path("x.json");
    const Outcome read = Run({"verify", missing});
    EXPECT_EQ(read.err,
              "reader-config: cannot read " + missing + ": " + std::strerror(ENOENT) + "\n");

    const std::string log = Path("no-dir/log.csv");
    const Outcome batch = Run({"batch", WriteProfile("p.json", Changed()), "--log", log});
    EXPECT_EQ(batch.err, "reader-config: cannot write the batch log " + log + ": " +
                             std::strerror(ENOENT) + "\n");

    const std::string trace = Path("no-dir/t.txt");
    const Outcome traced = Program({"--simulate", "--trace", trace, "list"});
    EXPECT_EQ(traced.status, 2);
    EXPECT_EQ(traced.err, "reader-config: cannot write the trace to " + trace + ": " +
                              std::strerror(ENOENT) + "\n");
}

TEST(CommandLineLanguage, LocaleNames) {
    using cli::Language;
    EXPECT_EQ(cli::LanguageOfLocale("zh_CN.UTF-8"), Language::Chinese);
    EXPECT_EQ(cli::LanguageOfLocale("zh_TW.utf8"), Language::Chinese);
    EXPECT_EQ(cli::LanguageOfLocale("zh_CN.UTF-8@stroke"), Language::Chinese);
    EXPECT_EQ(cli::LanguageOfLocale("zh_CN"), Language::English);  // GB2312 to glibc
    EXPECT_EQ(cli::LanguageOfLocale("zh_CN.GB18030"), Language::English);
    EXPECT_EQ(cli::LanguageOfLocale("en_US.UTF-8"), Language::English);
    EXPECT_EQ(cli::LanguageOfLocale("C.UTF-8"), Language::English);
    EXPECT_EQ(cli::LanguageOfLocale("zhx_YZ.UTF-8"), Language::English);
    EXPECT_EQ(cli::LanguageOfLocale(""), Language::English);

    struct Case {
        const char *all, *messages, *lang, *language;
        Language want;
    } cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", nullptr, Language::Chinese},
        {nullptr, nullptr, "en_US.UTF-8", nullptr, Language::English},
        {"C", nullptr, "zh_CN.UTF-8", nullptr, Language::English},
        {nullptr, "zh_CN.UTF-8", "en_US.UTF-8", nullptr, Language::Chinese},
        {nullptr, nullptr, "en_US.UTF-8", "zh_CN:en", Language::Chinese},
        {nullptr, nullptr, "zh_CN.UTF-8", "en", Language::English},
        {nullptr, nullptr, "C", "zh_CN", Language::English},
        {nullptr, nullptr, nullptr, nullptr, Language::English},
    };
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : names)
        if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    for (const Case& c : cases) {
        const char* values[] = {c.all, c.messages, c.lang, c.language};
        for (int i = 0; i < 4; ++i) {
            if (values[i])
                setenv(names[i], values[i], 1);
            else
                unsetenv(names[i]);
        }
        EXPECT_EQ(cli::LanguageOfEnvironment(), c.want)
            << (c.lang ? c.lang : "-") << " " << (c.language ? c.language : "-");
    }
    for (const char* name : names) unsetenv(name);
    for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
}

// With a Chinese locale (or --lang zh) the commands speak Chinese, with the
// window's words; --lang en keeps English.
TEST_F(CliOptionsTest, MessagesInChinese) {
    const auto chinese = [] { return cli::Language::Chinese; };
    const Outcome help = Program({"--help"}, chinese);
    EXPECT_EQ(help.out.rfind("用法：reader-config [选项]...", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("退出状态："), std::string::npos);
    EXPECT_EQ(Program({"--help", "--lang", "en"}, chinese).out, cli::HelpText("reader-config"));
    const Outcome usage = Program({"frob"}, chinese);
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err,
              "reader-config: 未知命令 'frob'（可选 read、apply、verify、batch 或 list）\n"
              "请用 'reader-config --help' 查看更多信息。\n");
    EXPECT_EQ(Program({"--simulate", "read", "--lang", "en"}, chinese).out.rfind("idFormat = 1", 0),
              0u);

    ConfiguredReader();
    const std::string p = WriteProfile("p.json", Changed());
    const Outcome verify = Run({"--lang", "zh", "verify", p});
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.out.find("idFormat：应为 5，实际为 1\n"), std::string::npos) << verify.out;
    EXPECT_NE(verify.out.find("middleSeparator.text：应为 \"--\"，实际为 （未生效）\n"),
              std::string::npos)
        << verify.out;
    const Outcome apply = Run({"--lang", "zh", "apply", p});
    EXPECT_NE(apply.out.find("已更改 idFormat：1 -> 5\n"), std::string::npos) << apply.out;
    EXPECT_NE(apply.out.find("配置设备成功：读卡器与配置文件一致\n"), std::string::npos);
    EXPECT_EQ(Run({"--lang", "zh", "apply", p}).out, "未更改：读卡器已与配置文件一致\n");
    EXPECT_EQ(Run({"--lang", "zh", "list"}).out,
              "/dev/vhidraw0  接口 0  序列号 VR000001  可打开：是\n");

    // A profile's refusal in Chinese, its field named as in the file.
    std::ofstream(Path("bad.json")) << "{\"version\": 1, \"idFormat\": 3}";
    const Outcome bad = Run({"--lang", "zh", "verify", Path("bad.json")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.rfind("reader-config: " + Path("bad.json") + "：不是有效的配置文件：", 0), 0u)
        << bad.err;
    EXPECT_NE(bad.err.find("middleSeparator"), std::string::npos) << bad.err;

    const Outcome batch = Run({"--lang", "zh", "batch", p, "--count", "1"});
    EXPECT_EQ(batch.out, "[1/1] /dev/vhidraw0：校验通过\n汇总：成功 1 台，失败 0 台，跳过 0 台\n");
    EXPECT_EQ(batch.err, "reader-config: 批量设置：配置每台插入的读卡器（1 台）\n");

    port.DetachQuietly(*port.Devices().front());
    EXPECT_EQ(Run({"--lang", "zh", "read"}).err,
              "reader-config: 未连接读卡器（USB 厂商 016c，产品 04f3）\n");
}

}  // namespace
