// The command line's commands against virtual readers on a virtual clock:
// exit status, what they print, and what reaches the device.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <utility>

#include "base/FilePath.h"
#include "base/Gbk.h"
#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/Commands.h"
#include "cli/StopSignal.h"
#include "device/ReportTrace.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"
#include "profile/Profile.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "support/CliFixture.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace {

// Runs reader-config ARGS... against the devices of hub, which the caller keeps.
Outcome RunOn(sim::VirtualHidPort& hub, sim::VirtualClock& clock,
              const std::vector<std::string>& args, dev::ReportTracer* tracer = nullptr) {
    cli::NoDeviceEvents pump;
    std::ostringstream out, err;
    cli::Environment env{hub, hub, clock, pump, out, err, tracer};
    env.newSessionSpace = cli::VirtualSessionSpaces(hub, clock);
    const int status = cli::RunCommand(cli::ParseCommandLine(args), env);
    return {status, out.str(), err.str()};
}

class CliTest : public CliFixture {
  protected:
    // Runs reader-config ARGS... with its own virtual devices (--simulate).
    Outcome Simulated(const std::vector<std::string>& args) {
        const cli::CommandLine options = cli::ParseCommandLine(args);
        EXPECT_EQ(options.action, cli::CommandLine::Action::Run) << options.error;
        std::ostringstream out, err;
        const int status = cli::RunSimulated(options, clock, out, err);
        return {status, out.str(), err.str()};
    }
    // Runs reader-config ARGS... against port, whose devices the test keeps.
    Outcome OnPort(const std::vector<std::string>& args) { return RunOn(port, clock, args); }
};

profile::Profile Changed() {
    profile::Profile p;
    p.idFormat = 5;
    p.SetIdSymbol(reader::FIELD_ID_MIDDLE, true, "--");
    p.SetIdSymbol(reader::FIELD_ID_END, true, "END");
    p.enter = false;
    return p;
}

TEST_F(CliTest, EveryExitStatus) {
    const std::string factory = WriteProfile("factory.json", profile::Profile{});
    const std::string changed = WriteProfile("changed.json", Changed());
    profile::Profile withKeys;
    withKeys.keys = reader::KeyCodes{};
    const std::string keys = WriteProfile("keys.json", withKeys);
    std::ofstream(Path("broken.json")) << "{\"version\": 1, \"idFormat\": 3}";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;  // each must occur in the stream
    } cases[] = {
        {{"--simulate", "read"}, 0, "idFormat = 1\n", ""},
        {{"--simulate", "verify", factory}, 0, "the reader holds the profile", ""},
        {{"--simulate", "apply", changed}, 0, "applied: the reader holds the profile", ""},
        {{"--simulate=keypad", "apply", keys}, 0, "applied", ""},
        {{"--simulate", "verify", changed}, 1, "idFormat: expected 5, found 1\n", ""},
        {{"--simulate=old-reader", "apply", changed},
         1,
         "middleSeparator.text: expected \"--\", found \",\"",
         ""},
        {{"--simulate", "apply", keys}, 2, "", "the device is no keypad"},
        {{"--simulate=silent", "verify", factory}, 2, "", "Read Device failed"},
        {{"--simulate", "verify", Path("broken.json")}, 2, "", "middleSeparator: missing"},
        {{"--simulate", "apply", Path("none.json")}, 2, "", "cannot read"},
        {{"--simulate=silent", "batch", factory, "--count", "2"},
         1,
         "[2/2] /dev/vhidraw0: failed",
         ""},
    };
    for (const Case& c : cases) {
        const Outcome o = Simulated(c.args);
        const std::string label = c.args[0] + " " + c.args[1];
        EXPECT_EQ(o.status, c.status) << label << "\n" << o.out << o.err;
        EXPECT_NE(o.out.find(c.out), std::string::npos) << label << "\n" << o.out;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << label << "\n" << o.err;
    }
    const Outcome none = OnPort({"verify", factory});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("no reader attached"), std::string::npos);
}

TEST_F(CliTest, ABrokenProfileSendsNothing) {
    sim::VirtualDevice& device = port.AttachQuietly(std::make_unique<sim::CardReaderModel>());
    std::ofstream(Path("bad.json")) << profile::ProfileToJson(Changed()).replace(0, 1, "[");
    const Outcome o = OnPort({"apply", Path("bad.json")});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("not valid JSON"), std::string::npos) << o.err;
    EXPECT_TRUE(device.Received().empty());
}

TEST_F(CliTest, ReadApplyVerifyRoundTripOnOneKeypad) {
    port.AttachQuietly(std::make_unique<sim::KeypadModel>(std::make_unique<sim::CardReaderModel>(),
                                                          DEFAULT_KEY_CODES));
    // A keypad from the factory holds no reader settings yet.
    EXPECT_EQ(OnPort({"verify", WriteProfile("f.json", profile::Profile{})}).status, 1);
    ASSERT_EQ(OnPort({"apply", WriteProfile("f.json", profile::Profile{})}).status, 0);

    const Outcome read = OnPort({"read", "--json"});
    ASSERT_EQ(read.status, 0) << read.err;
    profile::ParseResult parsed = profile::ParseProfile(read.out);
    ASSERT_TRUE(parsed.profile) << parsed.error;
    ASSERT_TRUE(parsed.profile->keys);
    EXPECT_EQ(KeyCodeName((*parsed.profile->keys)[0], true), "ESC");

    profile::Profile p = *parsed.profile;
    p.idFormat = 9;
    p.Text(reader::FIELD_T1_START) = tk::Utf8ToGbk("起始");
    (*p.keys)[0] = KeyNameToCode("F12");
    (*p.keys)[1] = 'x';
    const std::string edited = WriteProfile("edited.json", p);
    EXPECT_EQ(OnPort({"verify", edited}).status, 1);
    const Outcome apply = OnPort({"apply", edited});
    EXPECT_EQ(apply.status, 0) << apply.out << apply.err;
    EXPECT_EQ(OnPort({"verify", edited}).status, 0);
    const Outcome again = OnPort({"read", "--json"});
    EXPECT_EQ(profile::ParseProfile(again.out).profile->idFormat, 9);
}

// What a keypad holds, as it would type it: each text field's bytes ("off"
// for a symbol that is off), the other settings bytes and the key codes. A
// one-byte long text and the same byte as a code type alike.
std::string Held(sim::KeypadModel& keypad) {
    auto& reader = static_cast<sim::CardReaderModel&>(keypad.Reader());
    const sim::CardReaderModel::Settings& s = reader.StoredSettings();
    std::ostringstream held;
    const auto text = [&](int field, uint8_t code) {
        if (code >= reader::LONG_TEXT_BASE)
            return reader.LongText(field).substr(0, code - reader::LONG_TEXT_BASE);
        return code == reader::CODE_EMPTY && reader::IsSentinelField(field)
                   ? std::string()
                   : std::string(1, static_cast<char>(code));
    };
    for (size_t i = 0; i < 6; ++i)
        held << ::testing::PrintToString(text(reader::SENTINEL_FIELDS[i], s[i])) << " ";
    for (size_t i = 0; i < 3; ++i)
        held << (s[10 + i] == reader::CODE_OFF
                     ? "off"
                     : ::testing::PrintToString(text(reader::ID_SYMBOL_FIELDS[i], s[10 + i])))
             << " ";
    held << s[6] << s[7] << s[8] << s[9] << s[13] << " keys";
    for (uint8_t code : keypad.StoredCodes()) held << " " << int(code);
    return held.str();
}

// A keypad in a random state a reader can be brought to: every key code,
// texts of any bytes (0x00, lone lead and trail bytes, control characters)
// up to nine bytes, one-byte texts of every code.
std::unique_ptr<sim::KeypadModel> RandomKeypad(std::mt19937& random) {
    auto reader = std::make_unique<sim::CardReaderModel>();
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    sim::CardReaderModel::Settings s{};
    const auto field = [&](int index, uint8_t none) -> uint8_t {
        switch (pick(4)) {
            case 0:
                return none;
            case 1:  // any one-byte code the reader keeps as a character
                for (;;) {
                    const auto b = static_cast<uint8_t>(1 + pick(reader::LONG_TEXT_BASE - 1));
                    if (b != none) return b;
                }
            default: {
                std::string t(static_cast<size_t>(1 + pick(9)), '\0');
                for (char& c : t) c = static_cast<char>(pick(256));
                reader->SetLongText(index, t);
                return static_cast<uint8_t>(reader::LONG_TEXT_BASE + t.size());
            }
        }
    };
    for (size_t i = 0; i < 6; ++i) s[i] = field(reader::SENTINEL_FIELDS[i], reader::CODE_EMPTY);
    s[6] = static_cast<uint8_t>('0' + pick(8));
    s[7] = static_cast<uint8_t>(pick(4) == 0 ? '8' : '0' + pick(8));
    s[8] = static_cast<uint8_t>('0' + pick(2));
    s[9] = static_cast<uint8_t>('1' + pick(reader::FORMAT_COUNT));
    for (size_t i = 0; i < 3; ++i) s[10 + i] = field(reader::ID_SYMBOL_FIELDS[i], reader::CODE_OFF);
    s[13] = static_cast<uint8_t>('0' + pick(2));
    reader->SetSettings(s);
    sim::KeypadModel::Codes codes;
    for (uint8_t& c : codes) c = static_cast<uint8_t>(pick(256));
    return std::make_unique<sim::KeypadModel>(std::move(reader), codes);
}

// read --json, then apply and verify on a fresh keypad, gives a keypad that
// holds what the first one held.
TEST_F(CliTest, EveryDeviceStateComesBackThroughAProfile) {
    std::mt19937 random(24);
    for (int n = 0; n < 60; ++n) {
        sim::VirtualDevice& source = port.AttachQuietly(RandomKeypad(random));
        const std::string expected = Held(static_cast<sim::KeypadModel&>(source.Model()));
        SCOPED_TRACE(expected);
        const Outcome read = OnPort({"read", "--json"});
        ASSERT_EQ(read.status, 0) << read.err;
        const std::string file = Path("state.json");
        std::ofstream(file, std::ios::binary) << read.out;
        port.DetachQuietly(source);

        sim::VirtualDevice& fresh = port.AttachQuietly(std::make_unique<sim::KeypadModel>(
            std::make_unique<sim::CardReaderModel>(), DEFAULT_KEY_CODES));
        const Outcome apply = OnPort({"apply", file});
        ASSERT_EQ(apply.status, 0) << read.out << apply.out << apply.err;
        const Outcome verify = OnPort({"verify", file});
        EXPECT_EQ(verify.status, 0) << verify.out << verify.err;
        EXPECT_EQ(Held(static_cast<sim::KeypadModel&>(fresh.Model())), expected) << read.out;
        port.DetachQuietly(fresh);
    }
}

// An output file that names an input is refused before anything is opened,
// and the input stays as it was.
TEST_F(CliTest, AnOutputNeverOverwritesAnInput) {
    const std::string p = WriteProfile("p.json", Changed());
    const std::string kept = Read(p);
    const std::string same = Path("sub/../p.json");
    std::filesystem::create_directories(Path("sub"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--simulate", "--trace", p, "apply", p},
          std::vector<std::string>{"--simulate", "--trace", same, "verify", p},
          std::vector<std::string>{"--simulate", "batch", p, "--count", "1", "--log", p},
          std::vector<std::string>{"--simulate", "--trace", Path("t"), "batch", Path("p.json"),
                                   "--count", "1", "--log", Path("t")}}) {
        std::ostringstream out, err;
        const int status = cli::RunWithoutWindow(cli::ParseCommandLine(args), out, err, [] {
            return std::unique_ptr<cli::SystemDevices>();
        });
        EXPECT_EQ(status, cli::EXIT_USAGE) << args[2];
        EXPECT_NE(err.str().find(" name"), std::string::npos) << err.str();
        EXPECT_EQ(Read(p), kept);
    }
}

// A USB device chooses its own serial number: it reaches the terminal and
// the batch log without control characters or a formula a spreadsheet would
// run, and a serial that several readers share names none of them.
TEST_F(CliTest, DeviceStringsArriveHarmless) {
    const char* serials[] = {"=HYPERLINK(\"http://x\",\"y\")", "\x1b[31mred", "a\nVR9  interface 0",
                             "\x1b[31mred"};
    for (const char* serial : serials)
        port.AttachQuietly(std::make_unique<sim::CardReaderModel>()).serial = serial;
    const Outcome list = OnPort({"list"});
    EXPECT_EQ(list.out.find('\x1b'), std::string::npos) << list.out;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 4) << list.out;
    EXPECT_NE(list.out.find("serial «1B»[31mred"), std::string::npos) << list.out;

    const Outcome ambiguous = OnPort({"--serial", "\x1b[31mred", "read"});
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_NE(ambiguous.err.find("2 readers have serial number «1B»[31mred; choose one with "
                                 "--device PATH:\n  /dev/vhidraw1"),
              std::string::npos)
        << ambiguous.err;

    const std::string log = Path("log.csv");
    const Outcome batch = OnPort(
        {"batch", WriteProfile("p.json", Changed()), "--parallel", "--count", "4", "--log", log});
    EXPECT_EQ(batch.status, 0) << batch.err;
    const std::string csv = Read(log);
    EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"\r\n"), std::string::npos)
        << csv;
    EXPECT_EQ(csv.find('\x1b'), std::string::npos) << csv;
    EXPECT_NE(csv.find(",a«0A»VR9  interface 0\r\n"), std::string::npos) << csv;
}

// The batch log holds whole rows numbered as the progress counts them: a
// line left open is closed before the first row, and a row the disk cuts
// short is taken back, while every reader still running is reported.
TEST_F(CliTest, TheBatchLogHoldsWholeRows) {
    const std::string p = WriteProfile("p.json", Changed());
    const std::string log = Path("log.csv");
    const std::string open =
        "time,count,result,device,serial\r\n2026-12-07 09:00:00,1,verified,x,S";
    std::ofstream(log, std::ios::binary) << open;
    auto silent = std::make_unique<sim::CardReaderModel>();
    silent->SetSilent(true);
    sim::VirtualDevice& d = port.AttachQuietly(std::move(silent));
    EXPECT_EQ(OnPort({"batch", p, "--count", "1", "--log", log}).status, 1);
    port.DetachQuietly(d);
    const std::string csv = Read(log);
    EXPECT_EQ(csv.rfind(open + "\r\n", 0), 0u) << csv;
    EXPECT_NE(csv.find(",1,failed,/dev/vhidraw"), std::string::npos) << csv;  // not count 0
#ifndef _WIN32
    // The disk takes the header and one row, then no more.
    const std::string full = Path("full.csv");
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        sim::VirtualClock c;
        sim::VirtualHidPort hub(c);
        for (int i = 0; i < 4; ++i) hub.AttachQuietly(std::make_unique<sim::CardReaderModel>());
        const Outcome o = RunOn(hub, c, {"batch", p, "--parallel", "--count", "4", "--log", full});
        int reported = 0;
        for (int i = 1; i <= 4; ++i)
            reported +=
                o.out.find("[" + std::to_string(i) + "/4] /dev/vhidraw") != std::string::npos;
        const bool said = o.err.find("cannot write the batch log") != std::string::npos;
        ::_exit(o.status == 2 && said && reported == 4 ? 0 : 10 + reported);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    const std::string rows = Read(full);
    EXPECT_EQ(rows.substr(rows.size() - 2), "\r\n") << rows;
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2) << rows;
#endif
}

// Ends a batch as Ctrl+C would, at the given write of settings, and counts
// the answers to settings (one per reader configured).
class StopAtWrite : public dev::ReportTracer {
  public:
    explicit StopAtWrite(int write) : m_writesLeft(write) {}
    void OnReportWritten(const std::string& op, const uint8_t*, size_t) override {
        if (IsSettings(op) && --m_writesLeft == 0) cli::NoteStopSignal(2);
    }
    void OnReportRead(const std::string& op, const uint8_t*, size_t) override {
        if (IsSettings(op)) ++answers;
    }
    void OnReadTimeout(const std::string& op) override {
        if (IsSettings(op)) ++answers;
    }
    std::atomic<int> answers{0};

  private:
    static bool IsSettings(const std::string& op) {
        return op.size() >= 9 && op.compare(op.size() - 9, 9, "SetDevice") == 0;
    }
    std::atomic<int> m_writesLeft;
};

// Standard output whose reader goes away after some lines.
struct ClosesAfterLines : std::streambuf {
    explicit ClosesAfterLines(int lines) : linesLeft(lines) {}
    int overflow(int c) override {
        if (linesLeft == 0) return traits_type::eof();
        if (c == '\n') --linesLeft;
        return c;
    }
    int linesLeft;
};

// A batch that ends before its count (Ctrl+C, a closed standard output)
// reports and logs every reader it started, and starts none after.
TEST_F(CliTest, ABatchEndedEarlyReportsEveryReaderItStarted) {
    const std::string p = WriteProfile("p.json", Changed());
    const struct {
        const char* name;
        bool parallel;
        int stopAtWrite;  // 0: no signal
        int outLines;     // -1: standard output takes everything
        int status;
        const char* said;
    } cases[] = {
        {"Ctrl+C, one at a time", false, 3, -1, 0, "batch: stopped"},
        {"Ctrl+C, all at once", true, 5, -1, 0, "batch: stopped"},
        {"closed output, one at a time", false, 0, 2, 2, "cannot write the standard output"},
        {"closed output, all at once", true, 0, 2, 2, "cannot write the standard output"},
    };
    // Answers to settings that one reader's configuration takes.
    StopAtWrite one(0);
    std::ostringstream ignored;
    ASSERT_EQ(cli::RunSimulated(cli::ParseCommandLine({"--simulate", "batch", p, "--count", "1"}),
                                clock, ignored, ignored, &one),
              0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string log = Path(std::string(c.name) + ".csv");
        std::vector<std::string> args = {"--simulate", "batch", p, "--log", log};
        if (c.parallel) args.push_back("--parallel");
        StopAtWrite tracer(c.stopAtWrite);
        ClosesAfterLines closing(c.outLines);
        std::ostringstream taken, err;
        std::ostream out(c.outLines < 0 ? static_cast<std::streambuf*>(taken.rdbuf()) : &closing);
        // Without a count the batch runs until something ends it.
        const int status = cli::RunSimulated(cli::ParseCommandLine(args), clock, out, err, &tracer);
        cli::ForgetStopSignal();
        EXPECT_EQ(status, c.status) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        const std::string reported = taken.str() + err.str();
        const std::string csv = Read(log);
        const long rows = std::count(csv.begin(), csv.end(), '\n') - 1;
        EXPECT_GE(rows, 1);
        EXPECT_EQ(rows * one.answers, tracer.answers) << csv;
        // Lines that did not reach standard output went to standard error.
        const long takenLines = c.outLines < 0 ? 0 : c.outLines;
        EXPECT_EQ(std::count(reported.begin(), reported.end(), '[') + takenLines, rows) << reported;
    }
}

// A reader that may not be opened: the message points to a section of the
// manual that exists.
TEST_F(CliTest, AccessDeniedPointsToTheManual) {
    port.AttachQuietly(std::make_unique<sim::CardReaderModel>()).openError =
        dev::OpenError::AccessDenied;
    const Outcome o = OnPort({"read"});
    EXPECT_EQ(o.status, 2);
#ifndef _WIN32
    const std::string see = "(see reader-config(1), ";
    const size_t at = o.err.find(see);
    ASSERT_NE(at, std::string::npos) << o.err;
    const std::string section =
        o.err.substr(at + see.size(), o.err.find(')', at + see.size()) - at - see.size());
    EXPECT_NE(
        Read(READER_CONFIG_SOURCE_DIR "/packaging/reader-config.1").find("\n.SH " + section + "\n"),
        std::string::npos)
        << section;
#endif
}

// Standard output on a full disk or a closed pipe: the command fails and
// says so, rather than leaving an empty profile behind a success.
TEST(CommandOutput, OutputThatCannotBeWrittenIsAFailure) {
    struct Full : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    };
    // Commands that wait on no device: the real clock stays still.
    for (const auto& args :
         {std::vector<std::string>{"--simulate", "list", "--json"},
          std::vector<std::string>{"--help"}, std::vector<std::string>{"--version"}}) {
        Full full;
        std::ostream out(&full);
        std::ostringstream err;
        const int status = cli::RunWithoutWindow(cli::ParseCommandLine(args), out, err, [] {
            return std::unique_ptr<cli::SystemDevices>();
        });
        EXPECT_EQ(status, cli::EXIT_ERROR) << args[0];
        EXPECT_NE(err.str().find("cannot write the standard output"), std::string::npos)
            << err.str();
    }
}

TEST_F(CliTest, BatchConfiguresCountsAndLogsEachReader) {
    const std::string p = WriteProfile("p.json", Changed());
    // A log name that is no UTF-8 is used as the bytes given.
    const std::string log = Path("day-\xE9\xFF.csv");
    const Outcome o = Simulated({"--simulate", "batch", p, "--count", "3", "--log", log});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "[1/3] /dev/vhidraw0: verified\n"
              "[2/3] /dev/vhidraw0: verified\n"
              "[3/3] /dev/vhidraw0: verified\n"
              "summary: 3 configured, 0 failed, 0 skipped\n");
    const std::string csv = Read(log);
    EXPECT_EQ(csv.rfind("time,count,result,device,serial\r\n2026-12-07 09:00:", 0), 0u) << csv;
    EXPECT_NE(csv.find(",3,verified,/dev/vhidraw0,VR000003\r\n"), std::string::npos) << csv;
    // A second run appends its rows under the one header.
    EXPECT_EQ(Simulated({"--simulate", "batch", p, "--count", "1", "--log", log}).status, 0);
    const std::string more = Read(log);
    EXPECT_EQ(more.find("time,", 1), std::string::npos);
    EXPECT_NE(more.find(",1,verified,/dev/vhidraw0,VR000001\r\n", csv.size()), std::string::npos);

    const Outcome unwritable =
        Simulated({"--simulate", "batch", p, "--log", Path("no-dir/log.csv")});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("cannot write the batch log"), std::string::npos);
}

}  // namespace

namespace {

// Several readers at once: listing, the refusal to guess, and one device per
// command, addressed by path or serial number.
TEST_F(CliTest, SeveralDevicesAreListedAndAddressedOneAtATime) {
    const std::string changed = WriteProfile("changed.json", Changed());
    const std::string factory = WriteProfile("factory.json", profile::Profile{});
    const std::string three = "--simulate=reader,reader,keypad";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> out, err;  // each must occur in the stream
    } cases[] = {
        {{three, "list"},
         0,
         {"/dev/vhidraw0  interface 0  serial VR000001  open: yes\n",
          "/dev/vhidraw1  interface 0  serial VR000002",
          "/dev/vhidraw2  interface 0  serial VR000003"},
         {}},
        {{three, "list", "--json"},
         0,
         {"{\n  \"command\": \"list\",\n  \"version\": 1,\n  \"readers\": [\n",
          "    {\n      \"path\": \"/dev/vhidraw2\",\n      \"interface\": 0,\n"
          "      \"serial\": \"VR000003\",\n      \"settings\": true,\n"
          "      \"openable\": true\n    }\n  ]\n}\n"},
         {}},
        {{three, "read"},
         2,
         {},
         {"3 readers are attached; choose one with --device PATH or --serial S",
          "/dev/vhidraw1  serial VR000002"}},
        {{three, "batch", factory}, 2, {}, {"3 readers are attached"}},
        {{three, "--serial", "VR000002", "apply", changed}, 0, {"applied"}, {}},
        {{three, "--device", "/dev/vhidraw2", "verify", factory}, 0, {"holds the profile"}, {}},
        {{three, "--serial", "NOPE", "read"}, 2, {}, {"no reader with serial number NOPE"}},
        {{three, "--device", "/dev/vhidraw9", "read"}, 2, {}, {"no reader at /dev/vhidraw9"}},
        {{"--simulate", "read"}, 0, {"idFormat = 1"}, {}},
    };
    for (const Case& c : cases) {
        const Outcome o = Simulated(c.args);
        const std::string label = c.args[1] + " " + c.args.back();
        EXPECT_EQ(o.status, c.status) << label << "\n" << o.out << o.err;
        for (const std::string& text : c.out)
            EXPECT_NE(o.out.find(text), std::string::npos) << label << "\n" << o.out;
        for (const std::string& text : c.err)
            EXPECT_NE(o.err.find(text), std::string::npos) << label << "\n" << o.err;
    }
}

// Sixteen readers on one port: the command's frames reach the chosen one and
// no other; pulled out mid-operation, it fails and never moves on.
TEST_F(CliTest, OneCommandOneDevice) {
    for (int i = 0; i < 16; ++i) port.AttachQuietly(std::make_unique<sim::CardReaderModel>());
    const std::string changed = WriteProfile("changed.json", Changed());
    const std::vector<sim::VirtualDevice*> devices = port.Devices();

    const Outcome refused = OnPort({"apply", changed});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("16 readers are attached"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("/dev/vhidraw15  serial"), std::string::npos) << refused.err;

    struct PullOnWrite : dev::ReportTracer {
        sim::VirtualHidPort* port = nullptr;
        sim::VirtualDevice* victim = nullptr;
        void OnReportWritten(const std::string&, const uint8_t*, size_t) override {
            if (victim) port->DetachQuietly(*std::exchange(victim, nullptr));
        }
        void OnReportRead(const std::string&, const uint8_t*, size_t) override {}
        void OnReadTimeout(const std::string&) override {}
    } puller;
    struct Case {
        std::string path;
        bool pull;
        int status;
        std::string text;
    } cases[] = {
        {"/dev/vhidraw7", false, 0, "applied"},
        {"/dev/vhidraw12", true, 2, "the device /dev/vhidraw12 went away during the operation"},
    };
    for (const Case& c : cases) {
        std::map<const sim::VirtualDevice*, int> opens;
        for (sim::VirtualDevice* d : port.Devices()) {
            d->ClearReceived();
            opens[d] = d->openCount;
        }
        sim::VirtualDevice* target = port.Find(c.path);
        ASSERT_NE(target, nullptr);
        puller.port = &port;
        puller.victim = c.pull ? target : nullptr;
        const Outcome o = RunOn(port, clock, {"--device", c.path, "apply", changed}, &puller);
        EXPECT_EQ(o.status, c.status) << c.path << o.out << o.err;
        EXPECT_NE((o.out + o.err).find(c.text), std::string::npos) << o.out << o.err;
        for (sim::VirtualDevice* d : port.Devices()) {
            if (d != target) {
                EXPECT_TRUE(d->Received().empty()) << d->Path() << " for " << c.path;
                // Once, by the listing that finds the chosen device; never after.
                EXPECT_LE(d->openCount - opens[d], 1) << d->Path() << " for " << c.path;
            }
        }
        if (!c.pull) {
            EXPECT_FALSE(target->Received().empty());
        }
    }
}

}  // namespace

namespace {

// Counts the lines of text that end with tail.
int LinesEndingWith(const std::string& text, const std::string& tail) {
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        n += line.size() >= tail.size() &&
             line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
    return n;
}

// batch --parallel: every device at once, each by a dialog of its own; a
// device that fails or goes away fails alone, one that may not be opened is
// skipped, and each finished device is one row.
TEST_F(CliTest, ParallelBatchConfiguresEachDeviceOnItsOwn) {
    const std::string p = WriteProfile("p.json", Changed());
    struct Case {
        const char* name;
        int readers;  // attached at start
        int count;    // --count; 0: until the events end
        std::set<int> silent, denied, pulled;
        int status, verified, failed;
        std::string err;
    } cases[] = {
        {"two", 2, 2, {}, {}, {}, 0, 2, 0, ""},
        {"sixteen", 16, 16, {}, {}, {}, 0, 16, 0, ""},
        {"a silent and a pulled one fail alone",
         6,
         6,
         {1},
         {},
         {4},
         1,
         4,
         2,
         "/dev/vhidraw4 went away during the operation"},
        {"one that may not be opened is skipped",
         3,
         2,
         {},
         {0},
         {},
         0,
         2,
         0,
         "/dev/vhidraw0: may not be opened (access denied"},
        {"the running ones finish when events end",
         3,
         0,
         {},
         {},
         {},
         2,
         3,
         0,
         "no more device events can come"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualClock caseClock;
        sim::VirtualHidPort hub(caseClock);
        std::vector<sim::VirtualDevice*> devices;
        for (int i = 0; i < c.readers; ++i) {
            auto model = std::make_unique<sim::CardReaderModel>();
            model->SetSilent(c.silent.count(i) > 0);
            devices.push_back(&hub.AttachQuietly(std::move(model)));
            if (c.denied.count(i)) devices.back()->openError = dev::OpenError::AccessDenied;
        }
        // Pulls a device out on the first report written to it, from its own thread.
        struct Puller : dev::ReportTracer {
            sim::VirtualHidPort* hub = nullptr;
            std::set<std::string> victims;
            std::mutex mutex;
            void OnReportWritten(const std::string& op, const uint8_t*, size_t) override {
                std::lock_guard lock(mutex);
                const std::string path = op.substr(0, op.find(':'));
                if (victims.erase(path))
                    if (sim::VirtualDevice* d = hub->Find(path)) hub->DetachQuietly(*d);
            }
            void OnReportRead(const std::string&, const uint8_t*, size_t) override {}
            void OnReadTimeout(const std::string&) override {}
        } puller;
        puller.hub = &hub;
        for (int i : c.pulled) puller.victims.insert(devices[static_cast<size_t>(i)]->Path());

        const std::string log = Path(std::string(c.name) + ".csv");
        std::vector<std::string> args = {"batch", p, "--parallel", "--log", log};
        if (c.count) args.insert(args.end(), {"--count", std::to_string(c.count)});
        const Outcome o = RunOn(hub, caseClock, args, &puller);
        EXPECT_EQ(o.status, c.status) << o.out << o.err;
        EXPECT_EQ(LinesEndingWith(o.out, ": verified"), c.verified) << o.out;
        EXPECT_EQ(LinesEndingWith(o.out, ": failed"), c.failed) << o.out;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;

        // One row per finished device, counted 1..n, each device once.
        const std::string csv = Read(log);
        std::set<std::string> paths;
        const int rows = c.verified + c.failed;
        for (int n = 1; n <= rows; ++n) {
            const size_t at = csv.find("," + std::to_string(n) + ",");
            ASSERT_NE(at, std::string::npos) << csv;
            const size_t path = csv.find("/dev/", at);
            paths.insert(csv.substr(path, csv.find(',', path) - path));
        }
        EXPECT_EQ(LinesEndingWith(csv, "\r"), rows + 1) << csv;
        EXPECT_EQ(paths.size(), static_cast<size_t>(rows)) << csv;
        for (int i : c.denied) EXPECT_TRUE(devices[static_cast<size_t>(i)]->Received().empty());
    }
}

// Each device of a parallel batch gets exactly the frames 'apply' sends to
// one reader: the dialog's logic is the one-device logic.
TEST_F(CliTest, ParallelBatchSendsTheFramesOfApply) {
    const std::string p = WriteProfile("p.json", Changed());
    auto Steps = [](const std::string& trace, const std::string& prefix) {
        std::vector<std::string> steps;
        std::istringstream in(trace);
        for (std::string line; std::getline(in, line);) {
            const auto step = dev::ParseTraceStep(line);
            if (!step || step->operation.rfind(prefix, 0) != 0) continue;
            dev::TraceStep s = *step;
            s.seconds = 0;
            s.operation.erase(0, prefix.size());
            steps.push_back(dev::FormatTraceStep(s));
        }
        return steps;
    };
    auto Traced = [&](const std::vector<std::string>& args, int readers) {
        sim::VirtualClock caseClock;
        sim::VirtualHidPort hub(caseClock);
        for (int i = 0; i < readers; ++i)
            hub.AttachQuietly(std::make_unique<sim::CardReaderModel>());
        std::ostringstream trace;
        dev::TraceWriter writer(trace, caseClock);
        EXPECT_EQ(RunOn(hub, caseClock, args, &writer).status, 0);
        return trace.str();
    };
    // apply --force writes as the window does; plain apply reads first.
    const std::vector<std::string> one = Steps(Traced({"apply", "--force", p}, 1), "");
    const std::string parallel = Traced({"batch", p, "--parallel", "--count", "4"}, 4);
    ASSERT_FALSE(one.empty());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Steps(parallel, "/dev/vhidraw" + std::to_string(i) + ":"), one) << i;
}

}  // namespace

namespace {

// --simulate-state keeps the virtual devices between commands: what one
// command wrote, the next finds; a broken state file is refused untouched.
TEST_F(CliTest, SimulatedDevicesLiveOnInTheirStateFile) {
    const std::string changed = WriteProfile("changed.json", Changed());
    const std::string state = Path("hub.json");
    const std::string three = "--simulate=reader,reader,keypad";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string text;
    } cases[] = {
        {{three, "list"}, 0, "/dev/vhidraw2  interface 0  serial VR000003"},
        {{"--simulate", "--serial", "VR000002", "apply", changed}, 0, "applied"},
        {{"--simulate", "--serial", "VR000002", "verify", changed}, 0, "holds the profile"},
        {{"--simulate", "--device", "/dev/vhidraw0", "verify", changed}, 1, "idFormat: expected 5"},
        {{"--simulate", "batch", changed, "--parallel", "--count", "3"}, 0, "[3/3]"},
        {{"--simulate", "--serial", "VR000003", "verify", changed}, 0, "holds the profile"},
        {{"--simulate", "list"}, 0, "/dev/vhidraw2  interface 0  serial VR000003"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, {"--simulate-state", state});
        const Outcome o = Simulated(args);
        EXPECT_EQ(o.status, c.status) << args.back() << "\n" << o.out << o.err;
        EXPECT_NE(o.out.find(c.text), std::string::npos) << o.out << o.err;
    }
    const std::string kept = Read(state);
    std::ofstream(state, std::ios::binary | std::ios::app) << "}";
    const Outcome broken = Simulated({"--simulate", "--simulate-state", state, "list"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("holds no simulated devices"), std::string::npos) << broken.err;
    EXPECT_EQ(Read(state), kept + "}");
}

// Profiles and state files come from anywhere: nesting that would exhaust
// the stack, a version of the wrong type and a member named twice are
// refused with the reason, and nothing is read from them.
TEST_F(CliTest, UntrustedJsonIsRefusedWithItsReason) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string factory = profile::ProfileToJson(profile::Profile{});
    const std::string devices = "\"devices\": []";
    struct Case {
        std::string profileText, stateText;  // each a whole file
        std::string why;                     // in the profile's message
    } cases[] = {
        {"{\"version\": " + deep + "}", "{\"version\": " + deep + ", " + devices + "}",
         "nested deeper than 32 levels"},
        {"{\"version\": 1, \"idFormat\": " + deep + "}", "{\"devices\": " + deep + "}",
         "nested deeper than 32 levels"},
        {"{\"version\": 2, \"version\": 1}", "{\"version\": 1, \"version\": 1, " + devices + "}",
         "the member \"version\" appears twice in one object"},
        {"{\"version\": \"1\"}", "{\"version\": \"1\", " + devices + "}",
         "version: unknown version \"1\" ("},
        {"{\"version\": null}", "{\"version\": null, " + devices + "}",
         "version: unknown version null ("},
        {"{\"version\": [1]}", "{\"version\": [1], " + devices + "}",
         "version: unknown version an array ("},
        {"{\"version\": 1.5}", "{\"version\": 1.5, " + devices + "}",
         "version: unknown version 1.5 ("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const profile::ParseResult r = profile::ParseProfile(c.profileText);
        EXPECT_FALSE(r.profile);
        EXPECT_NE(r.error.find(c.why), std::string::npos) << r.error.substr(0, 200);
        EXPECT_LT(r.error.size(), 200u);
        const std::string state = Path("state.json");
        std::ofstream(state, std::ios::binary) << c.stateText;
        const Outcome o = Simulated({"--simulate", "--simulate-state", state, "list"});
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find("holds no simulated devices"), std::string::npos) << o.err;
        if (c.why.starts_with("nested") || c.why.starts_with("the member")) {
            EXPECT_NE(o.err.find(c.why), std::string::npos) << o.err;
        }
        EXPECT_LT(o.err.size(), 300u);
    }
    EXPECT_EQ(profile::ParseProfile(factory).error, "");
    // A state file of more devices than a fleet test walks through is not read at length.
    std::string many = "{\"version\": 1, \"devices\": [{}";
    for (int i = 1; i < 257; ++i) many += ", {}";
    std::ofstream(Path("state.json"), std::ios::binary) << many << "]}";
    const Outcome o = Simulated({"--simulate", "--simulate-state", Path("state.json"), "list"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("holds 257 simulated devices; at most 256 are kept"), std::string::npos)
        << o.err;
}

// Found by the simulation state fuzzer: a state file's nextInstance at the top
// of int overflowed when batch plugged in the next device. Serial numbers
// count on from a whole number in range; anything else refuses the file.
TEST_F(CliTest, StateFileNextInstanceMustBeInRange) {
    const std::string factory = WriteProfile("factory.json", profile::Profile{});
    const std::string state = Path("state.json");
    struct Case {
        std::string next;
        std::string serial;  // of the device batch plugs in; empty: the file is refused
    } cases[] = {
        {"1000", "VR001001"}, {"999999999", "VR1000000000"},
        {"2147483647", ""},   {"4294967296", ""},
        {"-1", ""},           {"1.5", ""},
        {"\"7\"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.next);
        const std::string text =
            "{\"version\": 1, \"nextInstance\": " + c.next + ", \"devices\": []}";
        std::ofstream(state, std::ios::binary) << text;
        const Outcome o =
            Simulated({"--simulate", "--simulate-state", state, "batch", factory, "--count", "1"});
        if (c.serial.empty()) {
            EXPECT_EQ(o.status, 2);
            EXPECT_NE(o.err.find("nextInstance must be a whole number from 0 to 999999999"),
                      std::string::npos)
                << o.err;
            EXPECT_EQ(Read(state), text);
        } else {
            EXPECT_EQ(o.status, 0) << o.out << o.err;
            EXPECT_NE(Read(state).find("\"serial\": \"" + c.serial + "\""), std::string::npos);
        }
    }
}

}  // namespace

namespace {

// A read answer that is not one (a late acknowledgement in its place) makes
// the command read once more, as a person would; a second one fails it.
TEST_F(CliTest, AGarbledReadAnswerIsReadAgainOnce) {
    // Spoils the first `spoiled` read answers: "Y" where "R" stands.
    struct Garbling : sim::CardReaderModel {
        int spoiled = 0;
        std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
            std::vector<sim::Frame> out = CardReaderModel::OnFrame(in);
            for (sim::Frame& f : out)
                if (f[2] == 'R' && spoiled > 0) {
                    f[2] = 'Y';
                    --spoiled;
                }
            return out;
        }
    };
    const std::string factory = WriteProfile("factory.json", profile::Profile{});
    for (const auto& [spoiled, status] : {std::pair{2, 0}, std::pair{4, 2}}) {
        sim::VirtualClock caseClock;
        sim::VirtualHidPort hub(caseClock);
        auto model = std::make_unique<Garbling>();
        Garbling& reader = *model;
        hub.AttachQuietly(std::move(model));
        ASSERT_EQ(RunOn(hub, caseClock, {"apply", factory}).status, 0);
        // Each request goes out twice and is answered twice: two answers per read.
        reader.spoiled = spoiled;
        const Outcome o = RunOn(hub, caseClock, {"verify", factory});
        EXPECT_EQ(o.status, status) << spoiled << o.out << o.err;
    }
}

}  // namespace

namespace {

// Answers the second copy of each request late, as a loaded machine sees
// it: that answer lands in the read of the next exchange.
class LateSecondAnswer : public sim::ReaderModel {
  public:
    explicit LateSecondAnswer(std::unique_ptr<sim::ReaderModel> inner)
        : m_inner(std::move(inner)) {}
    std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
        m_second = m_hasLast && in == m_last;
        m_last = in;
        m_hasLast = !m_second;
        return m_inner->OnFrame(in);
    }
    // After the first answer has been read, before the next request's own.
    int AnswerDelayMs() const override { return m_second ? 8 : 5; }

  private:
    std::unique_ptr<sim::ReaderModel> m_inner;
    sim::Frame m_last{};
    bool m_hasLast = false, m_second = false;
};

// Stores the first settings frame it gets but its answers are lost, as on a
// starved machine where they come while no handle is open.
class FirstAckLost : public sim::ReaderModel {
  public:
    std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
        std::vector<sim::Frame> out = m_inner.OnFrame(in);
        const bool settings = in[0] == 0x20 && in[1] == 0x20 && !kp::IsReadRequest(in);
        if (settings && m_lost < 2) {
            ++m_lost;
            return {};
        }
        return out;
    }

  private:
    sim::CardReaderModel m_inner;
    int m_lost = 0;
};

// What the commands did wrong while they drove a dialog: each case is a
// fault of that time, and what a command must do instead.
TEST_F(CliTest, CommandsEndWithTheirOwnClearOutcome) {
    const std::string changed = WriteProfile("changed.json", Changed());
    profile::Profile keysProfile = Changed();
    keysProfile.keys = reader::KeyCodes{};
    keysProfile.keys->fill('1');
    const std::string keys = WriteProfile("keys.json", keysProfile);
    struct Case {
        const char* what;
        std::function<std::unique_ptr<sim::ReaderModel>()> model;
        std::vector<std::string> args;
        int status;
        std::string out, err;  // each must occur
        bool writesNothing;    // no frame but the keypad probe's reaches the device
    } cases[] = {
        // A long text the reader does not confirm fails that reader; the batch goes on.
        {"silent batch",
         [] { return std::make_unique<sim::SilentModel>(); },
         {"batch", changed, "--count", "2"},
         1,
         "[2/2] /dev/vhidraw0: failed",
         "middleSeparator.text \"--\" was not confirmed (no answer within 600 ms)",
         false},
        // No advice for a window's check box, no output pane time stamps.
        {"silent verify",
         [] { return std::make_unique<sim::SilentModel>(); },
         {"verify", changed},
         2,
         "",
         "Read Device failed: /dev/vhidraw0: the settings could not "
         "be read (no answer within 600 ms)",
         false},
        // A profile with keys is checked against the device before anything is written.
        {"keys on a reader",
         [] { return std::make_unique<sim::CardReaderModel>(); },
         {"apply", keys},
         2,
         "",
         "the device is no keypad",
         true},
        // A late second answer is not taken for the next request's answer.
        {"late keypad",
         [] {
             return std::make_unique<LateSecondAnswer>(std::make_unique<sim::KeypadModel>(
                 std::make_unique<sim::CardReaderModel>(), DEFAULT_KEY_CODES));
         },
         {"apply", keys},
         0,
         "applied: the reader holds the profile",
         "",
         false},
        // A lost acknowledgement is asked for again once.
        {"lost ack",
         [] { return std::make_unique<FirstAckLost>(); },
         {"apply", changed},
         0,
         "applied: the reader holds the profile",
         "",
         false},
    };
    for (const Case& c : cases) {
        sim::VirtualClock caseClock;
        sim::VirtualHidPort hub(caseClock);
        sim::VirtualDevice& device = hub.AttachQuietly(c.model());
        std::ostringstream out, err;
        // The batch gets a fresh silent reader on every other event.
        struct Replug : cli::NoDeviceEvents {
            sim::VirtualHidPort& hub;
            sim::VirtualDevice* device;
            Replug(sim::VirtualHidPort& h, sim::VirtualDevice* d) : hub(h), device(d) {}
            bool WaitForDevice(int) override {
                if (device) {
                    hub.Detach(*device);
                    device = nullptr;
                } else {
                    device = &hub.Attach(std::make_unique<sim::SilentModel>());
                }
                return true;
            }
        } replug(hub, &device);
        cli::Environment env{hub, hub, caseClock, replug, out, err, nullptr};
        const Outcome o{cli::RunCommand(cli::ParseCommandLine(c.args), env), out.str(), err.str()};
        EXPECT_EQ(o.status, c.status) << c.what << "\n" << o.out << o.err;
        EXPECT_NE(o.out.find(c.out), std::string::npos) << c.what << "\n" << o.out;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << c.what << "\n" << o.err;
        for (const char* windowOnly : {"slow", "Slow", "\xE6\x85\xA2" /* 慢 */})
            EXPECT_EQ(o.err.find(windowOnly), std::string::npos) << c.what << "\n" << o.err;
        if (!c.writesNothing) continue;
        for (const sim::ReceivedFrame& r : hub.Devices().front()->Received())
            EXPECT_TRUE(kp::IsReadRequest(r.frame) || r.frame[1] == kp::KIND_QUERY)
                << c.what << ": a frame of kind " << int(r.frame[1]) << " was written";
    }
}

}  // namespace
