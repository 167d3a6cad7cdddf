#include "cli/Commands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/FileLock.h"
#include "base/FilePath.h"
#include "base/Printable.h"
#include "cli/BatchReport.h"
#include "cli/Json.h"
#include "cli/ParallelBatch.h"
#include "cli/Session.h"
#include "cli/StopSignal.h"
#include "profile/ProfileFile.h"
#include "sim/SimulatedDevices.h"
#include "sim/SimulationState.h"
#include "sim/VirtualHidPort.h"

namespace cli {
namespace {

constexpr Text NO_KEYPAD = {"the device is no keypad: it has no keys to configure",
                            "该设备不是键盘读卡器，没有可配置的按键"};

// The device a command talks to, as list shows it.
struct Chosen {
    std::string path, serial;
};

JsonDocument DeviceJson(const char* command, const Chosen& device) {
    JsonDocument d = JsonHead(command);
    d["device"] = device.path;
    d["serial"] = device.serial;
    return d;
}

int Read(Session& s, bool json, std::ostream& out) {
    s.RequireDevice();
    profile::Profile found = s.ReadGeneral();
    found.keys = s.ProbeKeys();
    if (json) {
        out << profile::ProfileToJson(found);
    } else {
        for (const auto& [field, value] : profile::EffectiveSettings(found))
            out << field << " = " << value << "\n";
    }
    return cli::EXIT_OK;
}

// What apply found, wrote and read back.
struct Applied {
    bool forced = false;
    bool configured = true;  // the reader held settings before (unknown, so true, with --force)
    bool written = false;    // anything was written
    std::vector<profile::Difference> before;  // what differed before the write
    std::vector<profile::Difference> after;   // what differs after it (read back)
};

// Reads the device and writes only what differs from p: the general
// settings (Set Device) when any of them differs or the reader holds none,
// the keys (Config key) when any key differs. Each part written is read
// back. With force, writes as the window's buttons do, without reading first.
Applied ApplyIfDifferent(Session& s, const profile::Profile& p, bool force) {
    Applied a;
    if (force) {
        a.forced = a.written = true;
        a.after = ApplyAndCompare(s, p);
        return a;
    }
    // Nothing is written to a device the profile does not fit.
    std::optional<core::KeyCodes> keys;
    if (p.keys && !(keys = s.ProbeKeys())) throw Failure{s.Say(NO_KEYPAD)};
    std::optional<profile::Profile> found;
    try {
        found = s.ReadGeneral();
    } catch (const Failure& f) {
        if (!f.notConfigured) throw;
        s.Note(1, f.message);
    }
    a.configured = found.has_value();
    profile::Profile general = p;
    general.keys.reset();
    if (found) a.before = profile::Differences(general, *found);
    const bool writeGeneral = !found || !a.before.empty();
    bool writeKeys = false;
    if (p.keys) {
        // The same general settings on both sides: only the keys differ.
        profile::Profile want, have;
        want.keys = p.keys;
        have.keys = keys;
        const std::vector<profile::Difference> keyDiffs = profile::Differences(want, have);
        a.before.insert(a.before.end(), keyDiffs.begin(), keyDiffs.end());
        writeKeys = !keyDiffs.empty();
    }
    if (!writeGeneral && !writeKeys) return a;
    a.written = true;
    profile::Profile back = found ? *found : profile::Profile{};
    if (writeGeneral) {
        s.WriteGeneral(p);
        back = s.ReadGeneral();
    }
    back.keys = keys;
    if (writeKeys) {
        s.WriteKeys(p);
        back.keys = s.ReadKeys();
    }
    a.after = profile::Differences(p, back);
    return a;
}

int Apply(Session& s, const profile::Profile& p, const Chosen& device, const CommandLine& o,
          std::ostream& out, Language l) {
    s.RequireDevice();
    const Applied a = ApplyIfDifferent(s, p, o.force);
    if (o.json) {
        JsonDocument d = DeviceJson("apply", device);
        d["result"] = !a.written ? "unchanged" : a.after.empty() ? "applied" : "differs";
        d["changed"] = a.written;
        d["forced"] = a.forced;
        JsonDocument written = JsonDocument::array(), unchanged = JsonDocument::array();
        for (const auto& [field, value] : profile::EffectiveSettings(p)) {
            const profile::Difference* was = nullptr;
            for (const profile::Difference& d : a.before)
                if (d.field == field) was = &d;
            const bool key = field.rfind("KEY", 0) == 0;
            if (was)
                written.push_back({{"field", field}, {"from", was->found}, {"to", value}});
            else if (a.forced || (!a.configured && !key))
                written.push_back({{"field", field}, {"from", nullptr}, {"to", value}});
            else
                unchanged.push_back(field);
        }
        d["written"] = written;
        d["unchanged"] = unchanged;
        d["differences"] = JsonDifferences(a.after);
        out << JsonText(d);
        return a.after.empty() ? cli::EXIT_OK : cli::EXIT_DIFFERS;
    }
    if (!a.written) {
        out << Say(l, {"unchanged: the reader holds the profile", "未更改：读卡器已与配置文件一致"})
            << "\n";
        return cli::EXIT_OK;
    }
    if (!a.configured)
        out << Say(l, {"changed: the reader held no settings", "已更改：读卡器原先没有设置"})
            << "\n";
    for (const profile::Difference& d : a.before)
        out << Say(l, {"changed {}: {} -> {}", "已更改 {}：{} -> {}"},
                   {d.field, ValueText(d.found, l), ValueText(d.expected, l)})
            << "\n";
    if (!a.after.empty()) {
        out << Say(l, {"written, but the reader holds something else:",
                       "已写入，但读卡器中的设置不同："})
            << "\n";
        PrintDifferences(out, a.after, "  ", l);
        return cli::EXIT_DIFFERS;
    }
    out << Say(l, {"applied: the reader holds the profile", "配置设备成功：读卡器与配置文件一致"})
        << "\n";
    return cli::EXIT_OK;
}

int Verify(Session& s, const profile::Profile& p, const Chosen& device, bool json,
           std::ostream& out, Language l) {
    s.RequireDevice();
    std::vector<profile::Difference> diffs;
    bool configured = true;
    try {
        diffs = Compare(s, p);
    } catch (const Failure& f) {
        if (!f.notConfigured) throw;
        if (!json) {
            out << f.message << "\n";
            return cli::EXIT_DIFFERS;
        }
        configured = false;
    }
    const bool matches = configured && diffs.empty();
    if (json) {
        JsonDocument d = DeviceJson("verify", device);
        d["matches"] = matches;
        d["configured"] = configured;
        d["differences"] = JsonDifferences(diffs);
        out << JsonText(d);
    } else if (!diffs.empty()) {
        PrintDifferences(out, diffs, "", l);
    } else {
        out << Say(l, {"the reader holds the profile", "读卡器与配置文件一致"}) << "\n";
    }
    return matches ? cli::EXIT_OK : cli::EXIT_DIFFERS;
}

int List(dev::HidPort& port, bool json, std::ostream& out, Language l) {
    const std::vector<dev::ReaderInterface> found = dev::ListReaderInterfaces(port);
    if (json) {
        JsonDocument d = JsonHead("list");
        JsonDocument readers = JsonDocument::array();
        for (const dev::ReaderInterface& r : found) {
            JsonDocument reader = JsonDocument::object();
            reader["path"] = r.info.path;
            reader["interface"] = r.info.interfaceNumber < 0 ? JsonDocument(nullptr)
                                                             : JsonDocument(r.info.interfaceNumber);
            reader["serial"] = r.info.serial;
            reader["settings"] = r.settings;
            reader["openable"] = r.openable;
            if (!r.openable) reader["reason"] = OpenReason(r, l);
            readers.push_back(reader);
        }
        d["readers"] = readers;
        out << JsonText(d);
        return cli::EXIT_OK;
    }
    if (found.empty())
        out << Say(l, {"no reader attached (USB vendor 016c, product 04f3)",
                       "未连接读卡器（USB 厂商 016c，产品 04f3）"})
            << "\n";
    for (const dev::ReaderInterface& r : found)
        out << Say(l,
                   {"{}  interface {}  serial {}  open: {}", "{}  接口 {}  序列号 {}  可打开：{}"},
                   {tk::Printable(r.info.path),
                    r.info.interfaceNumber < 0 ? std::string("?")
                                               : std::to_string(r.info.interfaceNumber),
                    r.info.serial.empty() ? Say(l, {"(none)", "（无）"})
                                          : tk::Printable(r.info.serial),
                    OpenText(r, l)})
            << "\n";
    return cli::EXIT_OK;
}

// The readers as a message lists them, one per line.
std::string Listed(const std::vector<const dev::ReaderInterface*>& readers, Language l) {
    std::string list;
    for (const dev::ReaderInterface* r : readers)
        list += "\n  " + Say(l, {"{}  serial {}", "{}  序列号 {}"},
                             {tk::Printable(r->info.path), r->info.serial.empty()
                                                               ? Say(l, {"(none)", "（无）"})
                                                               : tk::Printable(r->info.serial)});
    return list;
}

// The device the command talks to: the one --device or --serial names, or
// the only one attached. Its path is empty when none is attached (the
// command then says why no reader can be reached, as it does with one).
Chosen ChooseDevice(const Environment& env, const cli::CommandLine& o) {
    const Language l = env.language;
    const std::vector<dev::ReaderInterface> found = dev::ListReaderInterfaces(env.port);
    if (!o.device.empty() || !o.serial.empty()) {
        // Readers of one production run may share a serial number: then it
        // names none of them.
        std::vector<const dev::ReaderInterface*> same;
        for (const dev::ReaderInterface& r : found)
            if (o.device.empty() && r.settings && r.info.serial == o.serial) same.push_back(&r);
        if (same.size() > 1)
            throw Failure{Say(l,
                              {"{} readers have serial number {}; choose one with --device PATH:",
                               "{} 台读卡器的序列号都是 {}；请用 --device 路径 选择其中一台："},
                              {std::to_string(same.size()), tk::Printable(o.serial)}) +
                          Listed(same, l)};
        for (const dev::ReaderInterface& r : found) {
            if (o.device.empty() ? r.info.serial != o.serial : r.info.path != o.device) continue;
            if (!r.openable)
                throw Failure{Say(l, {"{} may not be opened: {}", "{} 无法打开：{}"},
                                  {r.info.path, OpenReason(r, l)})};
            if (!r.settings)
                throw Failure{
                    Say(l, {"{} is not the reader's settings interface", "{} 不是读卡器的设置接口"},
                        {r.info.path})};
            return {r.info.path, r.info.serial};
        }
        throw Failure{
            o.device.empty()
                ? Say(l,
                      {"no reader with serial number {} attached", "没有连接序列号为 {} 的读卡器"},
                      {tk::Printable(o.serial)})
                : Say(l, {"no reader at {}", "{} 处没有读卡器"}, {o.device})};
    }
    std::vector<const dev::ReaderInterface*> usable;
    for (const dev::ReaderInterface& r : found)
        if (r.settings) usable.push_back(&r);
    if (usable.size() <= 1)
        return usable.empty() ? Chosen{}
                              : Chosen{usable.front()->info.path, usable.front()->info.serial};
    const std::string n = std::to_string(usable.size());
    // batch takes no --device: it configures them one after another, or all at once.
    const std::string message =
        o.command == CommandLine::Command::Batch
            ? Say(l,
                  {"{} readers are attached; batch configures one at a time: leave one "
                   "attached, or configure them all at once with --parallel:",
                   "连接了 {} 台读卡器；批量设置一次配置一台：请只保留一台，或用 --parallel "
                   "同时配置全部："},
                  {n})
            : Say(l,
                  {"{} readers are attached; choose one with --device PATH or --serial S:",
                   "连接了 {} 台读卡器；请用 --device 路径 或 --serial 序列号 选择一台："},
                  {n});
    throw Failure{message + Listed(usable, l)};
}

// Configures each reader plugged in, one at a time: the one attached at the
// start, then one per arrival. A reader that failed is tried again on each
// change while it stays attached (a person pressing the button again), and
// is reported once.
class Batch : public dev::DeviceChangeReceiver {
  public:
    Batch(Environment& env, const profile::Profile& p, const cli::CommandLine& o)
        : m_env(env), m_profile(p), m_count(o.count), m_report(env, o) {}

    int Run() {
        Session s(m_env, {}, this);
        m_report.Open(false);
        try {
            if (s.Link().IsPresent())
                Try(s);
            else
                CheckRefused(s);
            while (!(m_count && m_handled >= m_count)) {
                // A reader being configured is always finished and reported first.
                if (!m_report.OutputFailure().empty()) throw Failure{m_report.OutputFailure()};
                if (StopSignalNoted()) {
                    m_report.Stopped();
                    break;
                }
                m_changed = false;
                if (!m_env.pump.WaitForDevice(-1))
                    throw Failure{cli::Say(m_env.language, NO_MORE_DEVICE_EVENTS)};
                if (!m_changed) continue;
                if (!s.Link().CheckPresence()) {
                    // Pulled out: the next reader is a fresh one.
                    m_done = false;
                    m_failedPath.reset();
                    CheckRefused(s);
                } else if (!m_done) {
                    Try(s);
                }
            }
        } catch (const Failure&) {
            m_report.Summary();
            throw;
        }
        m_report.Summary();
        return m_report.AnyFailed() ? cli::EXIT_DIFFERS : cli::EXIT_OK;
    }

  private:
    bool OnDeviceChange(uint32_t, uintptr_t) override {
        m_changed = true;
        return true;
    }

    // A reader that may not be opened is skipped, and said once while it
    // stays attached.
    void CheckRefused(Session& s) {
        if (s.Link().LastFindStatus() != dev::FindStatus::AccessDenied) {
            m_refused.clear();
            return;
        }
        for (const dev::ReaderInterface& r : dev::ListReaderInterfaces(m_env.port)) {
            if (r.openable || !m_refused.insert(r.info.path).second) continue;
            m_report.Skipped(cli::Say(
                m_env.language,
                {"{}: may not be opened ({}); not configured", "{}：无法打开（{}）；未配置"},
                {r.info.path, OpenReason(r, m_env.language)}));
        }
    }

    void Try(Session& s) {
        m_refused.clear();
        // Written and read back on one device.
        dev::DeviceBindingScope binding(s.Link());
        profile::BatchRow row;
        std::vector<profile::Difference> diffs;
        std::string failure;
        try {
            s.WriteGeneral(m_profile);
            m_done = true;
            row.time = m_env.clock.Now();
            diffs = Compare(s, m_profile);
            row.result = diffs.empty() ? "verified" : "differs";
        } catch (const Failure& f) {
            if (!m_done) row.time = m_env.clock.Now();
            row.result = "failed";
            failure = f.message;
        }
        row.path = s.Link().Binding().path;
        row.serial = s.Link().Binding().serial;
        if (!failure.empty() && !m_done && m_failedPath == row.path) return;
        if (!failure.empty()) m_env.err << PROGRAM << ": " << failure << "\n";
        m_failedPath.reset();
        if (!failure.empty() && !m_done) m_failedPath = row.path;
        // Rows are numbered as the progress counts them, failed ones too.
        row.count = ++m_handled;
        m_report.Finished(row, diffs, failure);
    }

    Environment& m_env;
    const profile::Profile& m_profile;
    uint32_t m_count;
    uint32_t m_handled = 0;
    bool m_changed = false;
    bool m_done = false;                      // the attached reader has been configured
    std::optional<std::string> m_failedPath;  // the attached reader that failed
    std::set<std::string> m_refused;          // readers said to be skipped, while attached
    BatchReport m_report;
};

// Pulls the virtual device, and on the next event plugs a fresh one in: two
// events, as from a person at a hub. The fresh one may get the pulled one's
// path, as hidraw nodes do.
class SimulatedPlugger : public EventPump {
  public:
    // Attaches one device of each kind (those of the port are there already);
    // the first is the one pulled and plugged. For a parallel batch it leaves those in and plugs in
    // one more each time, pulling out what it plugged once it is done with.
    SimulatedPlugger(sim::VirtualHidPort& port, const std::vector<sim::SimulatedDevice>& kinds,
                     bool parallel, sim::SimulatedDevice plugs)
        : m_port(port), m_kind(plugs), m_parallel(parallel) {
        for (const sim::SimulatedDevice kind : kinds)
            port.AttachQuietly(sim::MakeSimulatedDevice(kind));
        if (!parallel && !port.Devices().empty()) m_device = port.Devices().front();
    }
    bool WaitForDevice(int) override {
        if (m_parallel) {
            m_plugged.insert(m_port.Attach(sim::MakeSimulatedDevice(m_kind)).Path());
        } else if (m_device) {
            m_port.Detach(*m_device);
            m_device = nullptr;
        } else {
            m_device = &m_port.Attach(sim::MakeSimulatedDevice(m_kind));
        }
        return true;
    }
    void Finished(const std::string& path) override {
        if (!m_plugged.erase(path)) return;
        if (sim::VirtualDevice* d = m_port.Find(path)) m_port.Detach(*d);
    }

  private:
    sim::VirtualHidPort& m_port;
    sim::SimulatedDevice m_kind;
    bool m_parallel;
    sim::VirtualDevice* m_device = nullptr;
    std::set<std::string> m_plugged;  // parallel: the devices plugged in and not yet done
};

}  // namespace

int RunCommand(const cli::CommandLine& options, Environment& env) {
    using Command = cli::CommandLine::Command;
    env.language = LanguageOf(options, Language::English);
    env.verbose = options.verbose;
    const Language l = env.language;
    try {
        // The profile is checked before anything touches the device.
        std::optional<profile::Profile> p;
        if (options.command == Command::List) return List(env.port, options.json, env.out, l);
        if (options.command != Command::Read) p = LoadProfileFile(options.profile, env);
        if (options.command == Command::Batch) {
            if (!options.device.empty() || !options.serial.empty())
                throw Failure{
                    Say(l, {"batch configures every reader plugged in; --device and "
                            "--serial do not apply",
                            "批量设置配置每台插入的读卡器；--device 和 --serial 不适用"})};
            if (p->keys)
                throw Failure{Say(l, {"batch writes the general settings; a profile with keys is "
                                      "applied to one keypad at a time with 'apply'",
                                      "批量设置只写入通用设置；带按键的配置文件请用 'apply' "
                                      "逐台写入键盘读卡器"})};
            if (options.parallel) return RunParallelBatch(env, *p, options);
        }
        // Batch takes the readers as they come; it refuses too while more
        // than one is attached, as it cannot tell which is meant.
        const Chosen device = ChooseDevice(env, options);
        if (!device.path.empty() && env.verbose >= 1)
            env.err << PROGRAM << ": "
                    << Say(l, {"device {} (serial {})", "设备 {}（序列号 {}）"},
                           {tk::Printable(device.path), device.serial.empty()
                                                            ? Say(l, {"(none)", "（无）"})
                                                            : tk::Printable(device.serial)})
                    << "\n";
        if (options.command == Command::Batch) return Batch(env, *p, options).Run();
        Session s(env, device.path);
        switch (options.command) {
            case Command::Read:
                return Read(s, options.json, env.out);
            case Command::Apply:
                return Apply(s, *p, device, options, env.out, l);
            case Command::Verify:
                return Verify(s, *p, device, options.json, env.out, l);
            case Command::Batch:
            case Command::List:
            case Command::None:
                break;
        }
        return cli::EXIT_USAGE;
    } catch (const Failure& f) {
        env.out.flush();
        env.err << PROGRAM << ": " << f.message << "\n";
        if (options.json) {
            // A configuration manager reads the outcome where it reads the result.
            JsonDocument d = JsonHead(CommandName(options.command));
            const bool batch = options.command == Command::Batch;
            if (batch) d["event"] = "error";
            d["error"] = f.message;
            env.out << JsonText(d, batch);
            env.out.flush();
        }
        return cli::EXIT_ERROR;
    }
}

namespace {

class VirtualSpace : public SessionSpace {
  public:
    VirtualSpace(sim::VirtualHidPort& port, const sim::VirtualClock& clock)
        : m_clock(clock.Fork()), m_port(port, *m_clock) {}
    dev::HidPort& Port() override { return m_port; }
    tk::Clock& Clock() override { return *m_clock; }

  private:
    std::unique_ptr<sim::VirtualClock> m_clock;
    sim::ClockedPort m_port;
};

}  // namespace

std::function<std::unique_ptr<SessionSpace>()> VirtualSessionSpaces(sim::VirtualHidPort& port,
                                                                    sim::VirtualClock& clock) {
    return [&port, &clock] { return std::make_unique<VirtualSpace>(port, clock); };
}

int RunSimulated(const cli::CommandLine& options, tk::Clock& clock, std::ostream& out,
                 std::ostream& err, dev::ReportTracer* tracer, std::istream* in) {
    sim::VirtualHidPort port(clock);
    std::vector<sim::SimulatedDevice> kinds =
        options.simulated.empty() ? std::vector{options.simulate} : options.simulated;
    const std::string& state = options.simulateState;
    std::string error;
    // Held from the read of the state to its write: a second run waits, so
    // no change of either is lost.
    tk::FileLock stateLock;
    if (!state.empty()) error = stateLock.Lock(state, true);
    if (!error.empty()) {
        err << PROGRAM << ": " << error << "\n";
        return cli::EXIT_ERROR;
    }
    std::error_code ec;
    const bool restored = !state.empty() && std::filesystem::exists(tk::PathFromUtf8(state), ec);
    if (restored && !sim::LoadSimulationState(state, port, &error)) {
        err << PROGRAM << ": " << error << "\n";
        return cli::EXIT_ERROR;
    }
    SimulatedPlugger plugger(port, restored ? std::vector<sim::SimulatedDevice>{} : kinds,
                             options.parallel, kinds.front());
    if (!restored) {
        // The readers attached at start have left the factory configured
        // with the factory settings, so that read and verify find settings
        // in them; batch plugs in fresh ones.
        std::ostringstream quiet;
        Environment setup{port, port, clock, plugger, quiet, quiet, nullptr};
        for (sim::VirtualDevice* d : port.Devices()) {
            try {
                Session(setup, d->Path()).WriteGeneral(profile::Profile{});
            } catch (const Failure&) {
                // A silent reader stays as the factory left it.
            }
        }
    }
    Environment env{port, port, clock, plugger, out, err, tracer};
    env.in = in;
    // On a virtual clock the devices of a parallel batch each spend time of
    // their own; on the real one they share it, as on hardware.
    if (auto* virtualClock = dynamic_cast<sim::VirtualClock*>(&clock))
        env.newSessionSpace = VirtualSessionSpaces(port, *virtualClock);
    const int status = RunCommand(options, env);
    if (!state.empty() && !sim::SaveSimulationState(state, port, &error)) {
        err << PROGRAM << ": " << error << "\n";
        return cli::EXIT_ERROR;
    }
    return status;
}

}  // namespace cli
