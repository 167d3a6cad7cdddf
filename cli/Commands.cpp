#include "cli/Commands.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "keypad/KeypadTexts.h"
#include "keypad/ViewTexts.h"
#include "profile/ProfileControls.h"
#include "profile/ProfileFile.h"
#include "reader/ReaderTexts.h"
#include "sim/SimulatedDevices.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/headless/HeadlessSurface.h"

using namespace ids;

namespace cli {
namespace {

constexpr const char* PROGRAM = "reader-config";

// A failure that ends the command with the error status.
struct Failure {
    std::string message;
    // Read Device found a reader that holds no settings: for verify that is
    // a difference, not an error.
    bool notConfigured = false;
};

// The main dialog over the headless toolkit, driven as a person drives the
// window. Its messages are English.
class Session {
  public:
    // With a device path every transfer of the session goes to that device
    // and no other: when it goes away the operations fail.
    explicit Session(Environment& env, const std::string& devicePath = {})
        : m_env(env), m_ui(app::MainDialogSpec()), m_dlg(m_ui, env.port, env.watcher, env.clock) {
        m_dlg.Link().SetTracer(env.tracer);
        if (!devicePath.empty()) m_dlg.Link().Bind(devicePath);
        m_dlg.OnInitDialog();
        m_ui.Click(IDC_ENGLISH);
        TakeOutput();
    }

    CReaderConfigDlg& Dlg() { return m_dlg; }
    tk::HeadlessSurface& Ui() { return m_ui; }

    void RequireDevice() {
        if (m_dlg.Link().IsPresent()) return;
        if (m_dlg.Link().LastFindStatus() == dev::FindStatus::AccessDenied)
            throw Failure{
                "a reader is attached but may not be opened: install the udev rule "
                "(see reader-config(1), PERMISSIONS)"};
        throw Failure{"no reader attached (USB vendor 016c, product 04f3)"};
    }

    // Does what the control's click does (also when the window would have
    // it greyed, as batch mode does with Read Device) and returns what the
    // dialog wrote into its output pane.
    std::string Run(int id) {
        m_dlg.OnCommand(id);
        return TakeOutput();
    }
    // Runs the command; fails unless its output holds success.
    void Expect(int id, const TextPair& success, const std::string& what) {
        const std::string output = Run(id);
        if (output.find(success.Get()) == std::string::npos) Fail(what, output);
    }
    // Ends the command after a failed operation, naming the device when the
    // bound one went away.
    [[noreturn]] void Fail(const std::string& what, const std::string& output) {
        const dev::CHidLink& link = m_dlg.Link();
        if (link.Binding().active && link.LastTransferStatus() == dev::TransferStatus::Gone)
            throw Failure{what + " failed: the device " + link.Binding().path +
                          " went away during the operation; no other device was touched"};
        throw Failure{what + " failed: " + FirstLine(output)};
    }

    // The pane's text since the last call, and the message boxes shown,
    // whose texts go to standard error.
    std::string TakeOutput() {
        for (const tk::ShownMessageBox& box : m_ui.MessageBoxes())
            m_env.err << PROGRAM << ": " << box.caption << ": " << Trimmed(box.text) << "\n";
        m_ui.ClearMessageBoxes();
        std::string text = m_ui.GetText(IDC_OUTPUT);
        m_dlg.ClearOutput();
        return text;
    }

    // Read Device; the general settings the reader holds.
    profile::Profile ReadGeneral() {
        const std::string output = Run(IDC_READ_DEVICE);
        if (output.find(reader_texts::NOT_CONFIGURED.Get()) != std::string::npos)
            throw Failure{"the reader holds no settings: it has never been configured", true};
        if (output.find(reader_texts::READ_SUCCESS.Get()) == std::string::npos)
            Fail("Read Device", output);
        return profile::ProfileFromControls(m_ui, false);
    }

    // Whether the device answers as a keypad: the question the view switch
    // asks first. Only a keypad is then switched to the keyboard view: the
    // switch sends the factory layout to a device that does not answer.
    bool IsKeypad() {
        dev::OperationScope scope(m_dlg.Link(), "ProbeKeypad");
        return m_dlg.ProbeKeypad() == KP_KEYPAD;
    }

    // The key names the keypad holds, through the keyboard view (the switch
    // reads them into the key fields, Read Config later).
    std::array<std::string, profile::KEY_COUNT> ReadKeys() {
        if (!g_bKeyboardView) {
            if (!IsKeypad()) throw Failure{"the device is no keypad: it has no keys to configure"};
            const std::string output = Run(ID_TOGGLE_VIEW);
            if (!g_bKeyboardView)
                throw Failure{"the keyboard view could not be opened: " + FirstLine(output)};
        } else {
            Expect(IDC_READ_CONFIG, kp::texts::READ_OK, "Read Config");
        }
        return *profile::ProfileFromControls(m_ui, true).keys;
    }

    static std::string FirstLine(const std::string& text) {
        const std::string t = Trimmed(text);
        const size_t end = t.find_first_of("\r\n");
        return end == std::string::npos ? t : t.substr(0, end);
    }

  private:
    static std::string Trimmed(const std::string& text) {
        const size_t first = text.find_first_not_of("\r\n ");
        if (first == std::string::npos) return "";
        return text.substr(first, text.find_last_not_of("\r\n ") - first + 1);
    }

    Environment& m_env;
    tk::HeadlessSurface m_ui;
    CReaderConfigDlg m_dlg;
};

profile::Profile LoadProfileFile(const std::string& path) {
    profile::ParseResult parsed = profile::ReadProfileFile(path);
    if (!parsed.profile) throw Failure{path + ": " + parsed.error};
    return *parsed.profile;
}

void PrintDifferences(std::ostream& out, const std::vector<profile::Difference>& diffs,
                      const char* indent) {
    for (const profile::Difference& d : diffs)
        out << indent << d.field << ": expected " << d.expected << ", found " << d.found << "\n";
}

// What the attached device holds, for verify and apply's read-back.
std::vector<profile::Difference> Compare(Session& s, const profile::Profile& expected) {
    profile::Profile found = s.ReadGeneral();
    if (expected.keys) found.keys = s.ReadKeys();
    return profile::Differences(expected, found);
}

int Read(Session& s, bool json, std::ostream& out) {
    s.RequireDevice();
    profile::Profile found = s.ReadGeneral();
    if (s.IsKeypad()) found.keys = s.ReadKeys();
    if (json) {
        out << profile::ProfileToJson(found);
    } else {
        for (const auto& [field, value] : profile::EffectiveSettings(found))
            out << field << " = " << value << "\n";
    }
    return app::EXIT_OK;
}

int Apply(Session& s, const profile::Profile& p, std::ostream& out) {
    s.RequireDevice();
    s.Dlg().LoadProfile(p);
    s.Expect(IDC_SET_DEVICE, reader_texts::CONFIG_SUCCESS, "Set Device");
    profile::Profile found = s.ReadGeneral();
    if (p.keys) {
        s.ReadKeys();
        s.Dlg().LoadProfileKeys(p);
        s.Expect(IDC_CONFIG_KEY, kp::texts::CONFIG_OK, "Config key");
        found.keys = s.ReadKeys();
    }
    const auto diffs = profile::Differences(p, found);
    if (!diffs.empty()) {
        out << "written, but the reader holds something else:\n";
        PrintDifferences(out, diffs, "  ");
        return app::EXIT_DIFFERS;
    }
    out << "applied: the reader holds the profile\n";
    return app::EXIT_OK;
}

int Verify(Session& s, const profile::Profile& p, std::ostream& out) {
    s.RequireDevice();
    std::vector<profile::Difference> diffs;
    try {
        diffs = Compare(s, p);
    } catch (const Failure& f) {
        if (!f.notConfigured) throw;
        out << f.message << "\n";
        return app::EXIT_DIFFERS;
    }
    if (!diffs.empty()) {
        PrintDifferences(out, diffs, "");
        return app::EXIT_DIFFERS;
    }
    out << "the reader holds the profile\n";
    return app::EXIT_OK;
}

const char* DenialText(dev::AccessDenial denial) {
    switch (denial) {
        case dev::AccessDenial::RuleMissing:
            return "access denied: the udev rule is not installed";
        case dev::AccessDenial::RuleNotApplied:
            return "access denied: the udev rule has not reached the node yet (replug it)";
        case dev::AccessDenial::NotLocalSeat:
            return "access denied: the node belongs to the user at the active local seat";
        case dev::AccessDenial::Unknown:
            break;
    }
    return "access denied";
}

std::string OpenText(const dev::ReaderInterface& r) {
    if (r.openable) return r.settings ? "yes" : "yes (not the settings interface)";
    switch (r.openError) {
        case dev::OpenError::AccessDenied:
            return std::string("no, ") + DenialText(r.denial);
        case dev::OpenError::NotFound:
            return "no, gone";
        default:
            return "no, open failed";
    }
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int List(dev::HidPort& port, bool json, std::ostream& out) {
    const std::vector<dev::ReaderInterface> found = dev::ListReaderInterfaces(port);
    if (json) {
        out << "[";
        const char* sep = "\n";
        for (const dev::ReaderInterface& r : found) {
            out << sep << "  {\"path\": " << JsonString(r.info.path)
                << ", \"interface\": " << r.info.interfaceNumber
                << ", \"serial\": " << JsonString(r.info.serial)
                << ", \"settings\": " << (r.settings ? "true" : "false")
                << ", \"openable\": " << (r.openable ? "true" : "false");
            if (!r.openable) out << ", \"reason\": " << JsonString(OpenText(r).substr(4));
            out << "}";
            sep = ",\n";
        }
        out << (found.empty() ? "]\n" : "\n]\n");
        return app::EXIT_OK;
    }
    if (found.empty()) out << "no reader attached (USB vendor 016c, product 04f3)\n";
    for (const dev::ReaderInterface& r : found)
        out << r.info.path << "  interface "
            << (r.info.interfaceNumber < 0 ? std::string("?")
                                           : std::to_string(r.info.interfaceNumber))
            << "  serial " << (r.info.serial.empty() ? "(none)" : r.info.serial)
            << "  open: " << OpenText(r) << "\n";
    return app::EXIT_OK;
}

// The device path the command talks to: the one --device or --serial names,
// or the only one attached. Empty when none is attached (the command then
// says why no reader can be reached, as it does with one).
std::string ChooseDevice(dev::HidPort& port, const app::CommandLine& o) {
    const std::vector<dev::ReaderInterface> found = dev::ListReaderInterfaces(port);
    if (!o.device.empty() || !o.serial.empty()) {
        for (const dev::ReaderInterface& r : found) {
            if (o.device.empty() ? r.info.serial != o.serial : r.info.path != o.device) continue;
            if (!r.openable)
                throw Failure{r.info.path + " may not be opened: " + OpenText(r).substr(4)};
            if (!r.settings) throw Failure{r.info.path + " is not the reader's settings interface"};
            return r.info.path;
        }
        throw Failure{o.device.empty() ? "no reader with serial number " + o.serial + " attached"
                                       : "no reader at " + o.device};
    }
    std::vector<const dev::ReaderInterface*> usable;
    for (const dev::ReaderInterface& r : found)
        if (r.settings) usable.push_back(&r);
    if (usable.size() <= 1) return usable.empty() ? std::string() : usable.front()->info.path;
    std::string message = std::to_string(usable.size()) +
                          " readers are attached; choose one with --device PATH or --serial S:";
    for (const dev::ReaderInterface* r : usable)
        message += "\n  " + r->info.path + "  serial " +
                   (r->info.serial.empty() ? "(none)" : r->info.serial);
    throw Failure{message};
}

class Batch {
  public:
    Batch(Session& s, Environment& env, const profile::Profile& p, const app::CommandLine& o)
        : m_s(s), m_env(env), m_profile(p), m_count(o.count) {
        if (p.keys)
            throw Failure{
                "batch writes the general settings; a profile with keys is applied "
                "to one keypad at a time with 'apply'"};
        if (!o.logFile.empty()) OpenLog(o.logFile);
    }

    int Run() {
        m_s.Dlg().LoadProfile(m_profile);
        const bool present = m_s.Dlg().Link().IsPresent();
        m_s.Run(IDC_BATCH);
        // With no reader attached batch mode's first attempt reached nobody:
        // its "Computer slow" advice does not apply.
        if (!present) m_s.Ui().SetChecked(IDC_COMPUTER_SLOW, false);
        m_env.err << PROGRAM << ": batch: configuring every reader plugged in"
                  << (m_count ? " (" + std::to_string(m_count) + ")"
                              : std::string(" until stopped"))
                  << "\n";
        for (;;) {
            TakeNewRows();
            if (m_count && m_handled >= m_count) break;
            if (!m_env.pump.WaitForDevice())
                throw Failure{"no more device events can come (udev monitor failed)"};
            if (!m_s.Dlg().Link().IsPresent()) m_failedPath.reset();
        }
        m_s.Run(IDC_BATCH);
        return m_failed ? app::EXIT_DIFFERS : app::EXIT_OK;
    }

  private:
    void OpenLog(const std::string& path) {
        m_log.open(path, std::ios::binary | std::ios::app);
        if (!m_log) throw Failure{"cannot write the batch log " + path};
        m_logPath = path;
        m_log.seekp(0, std::ios::end);
        if (m_log.tellp() == 0) m_log << profile::BatchCsvHeader();
        m_log.flush();
        if (!m_log) throw Failure{"cannot write the batch log " + path};
    }

    void TakeNewRows() {
        const profile::BatchLog& log = m_s.Dlg().GetBatchLog();
        // Each device event tries one reader at most.
        if (m_seen < log.Size() && !(m_count && m_handled >= m_count)) {
            m_seen = log.Size();
            profile::BatchRow row = log.Last();
            // Batch mode tries a reader that failed again on each device-tree
            // change while it stays attached: one device, one row.
            if (row.result == "failed" && m_failedPath == row.path) return;
            m_failedPath.reset();
            if (row.result == "failed") m_failedPath = row.path;
            std::vector<profile::Difference> diffs;
            if (row.result == "configured") {
                try {
                    diffs = Compare(m_s, m_profile);
                    row.result = diffs.empty() ? "verified" : "differs";
                } catch (const Failure& f) {
                    row.result = "failed";
                    m_env.err << PROGRAM << ": " << f.message << "\n";
                }
                // The read put what the reader holds into the controls; the
                // next reader gets the profile again.
                m_s.Dlg().LoadProfile(m_profile);
            } else {
                m_s.TakeOutput();
            }
            ++m_handled;
            if (row.result != "verified") m_failed = true;
            m_env.out << "[" << m_handled << (m_count ? "/" + std::to_string(m_count) : "") << "] "
                      << (row.path.empty() ? "(unknown device)" : row.path) << ": " << row.result
                      << "\n";
            PrintDifferences(m_env.out, diffs, "  ");
            m_env.out.flush();
            if (m_log.is_open()) {
                m_log << profile::BatchCsvLine(row);
                m_log.flush();
                if (!m_log) throw Failure{"cannot write the batch log " + m_logPath};
            }
        }
    }

    Session& m_s;
    Environment& m_env;
    const profile::Profile& m_profile;
    uint32_t m_count;
    uint32_t m_handled = 0;
    size_t m_seen = 0;
    std::optional<std::string> m_failedPath;  // the attached reader that failed
    bool m_failed = false;
    std::ofstream m_log;
    std::string m_logPath;
};

// Pulls the virtual device, and on the next event plugs a fresh one in: two
// events, as from a person at a hub. The fresh one may get the pulled one's
// path, as hidraw nodes do.
class SimulatedPlugger : public EventPump {
  public:
    // Attaches one device of each kind; the first is the one pulled and
    // plugged.
    SimulatedPlugger(sim::VirtualHidPort& port, const std::vector<sim::SimulatedDevice>& kinds)
        : m_port(port), m_kind(kinds.front()) {
        for (const sim::SimulatedDevice kind : kinds)
            port.AttachQuietly(sim::MakeSimulatedDevice(kind));
        m_device = port.Devices().front();
    }
    bool WaitForDevice() override {
        if (m_device) {
            m_port.Detach(*m_device);
            m_device = nullptr;
        } else {
            m_device = &m_port.Attach(sim::MakeSimulatedDevice(m_kind));
        }
        return true;
    }

  private:
    sim::VirtualHidPort& m_port;
    sim::SimulatedDevice m_kind;
    sim::VirtualDevice* m_device = nullptr;
};

}  // namespace

int RunCommand(const app::CommandLine& options, Environment& env) {
    using Command = app::CommandLine::Command;
    try {
        // The profile is checked before anything touches the device.
        std::optional<profile::Profile> p;
        if (options.command == Command::List) return List(env.port, options.json, env.out);
        if (options.command != Command::Read) p = LoadProfileFile(options.profile);
        if (options.command == Command::Batch &&
            (!options.device.empty() || !options.serial.empty()))
            throw Failure{
                "batch configures every reader plugged in; --device and --serial do not apply"};
        // Batch takes the readers as they come; it refuses too while more
        // than one is attached, as it cannot tell which is meant.
        const std::string path = ChooseDevice(env.port, options);
        Session s(env, options.command == Command::Batch ? std::string() : path);
        switch (options.command) {
            case Command::Read:
                return Read(s, options.json, env.out);
            case Command::Apply:
                return Apply(s, *p, env.out);
            case Command::Verify:
                return Verify(s, *p, env.out);
            case Command::Batch:
                return Batch(s, env, *p, options).Run();
            case Command::List:
            case Command::None:
                break;
        }
        return app::EXIT_USAGE;
    } catch (const Failure& f) {
        env.out.flush();
        env.err << PROGRAM << ": " << f.message << "\n";
        return app::EXIT_ERROR;
    }
}

int RunSimulated(const app::CommandLine& options, tk::Clock& clock, std::ostream& out,
                 std::ostream& err, dev::ReportTracer* tracer) {
    sim::VirtualHidPort port(clock);
    const std::vector<sim::SimulatedDevice> kinds =
        options.simulated.empty() ? std::vector{options.simulate} : options.simulated;
    SimulatedPlugger plugger(port, kinds);
    {
        // The readers attached at start have left the factory configured
        // with the factory settings (Set Device on a fresh dialog), so that
        // read and verify find settings in them; batch plugs in fresh ones.
        std::ostringstream quiet;
        Environment setup{port, port, clock, plugger, quiet, quiet, nullptr};
        for (sim::VirtualDevice* d : port.Devices()) Session(setup, d->Path()).Run(IDC_SET_DEVICE);
    }
    Environment env{port, port, clock, plugger, out, err, tracer};
    return RunCommand(options, env);
}

}  // namespace cli
