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
#include "cli/BatchLogFile.h"
#include "cli/BatchProgress.h"
#include "cli/ParallelBatch.h"
#include "cli/Session.h"
#include "cli/StopSignal.h"
#include "profile/ProfileFile.h"
#include "sim/SimulatedDevices.h"
#include "sim/SimulationState.h"
#include "sim/VirtualHidPort.h"

namespace cli {
namespace {

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

int Apply(Session& s, const profile::Profile& p, std::ostream& out) {
    s.RequireDevice();
    const auto diffs = ApplyAndCompare(s, p);
    if (!diffs.empty()) {
        out << "written, but the reader holds something else:\n";
        PrintDifferences(out, diffs, "  ");
        return cli::EXIT_DIFFERS;
    }
    out << "applied: the reader holds the profile\n";
    return cli::EXIT_OK;
}

int Verify(Session& s, const profile::Profile& p, std::ostream& out) {
    s.RequireDevice();
    std::vector<profile::Difference> diffs;
    try {
        diffs = Compare(s, p);
    } catch (const Failure& f) {
        if (!f.notConfigured) throw;
        out << f.message << "\n";
        return cli::EXIT_DIFFERS;
    }
    if (!diffs.empty()) {
        PrintDifferences(out, diffs, "");
        return cli::EXIT_DIFFERS;
    }
    out << "the reader holds the profile\n";
    return cli::EXIT_OK;
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
        return cli::EXIT_OK;
    }
    if (found.empty()) out << "no reader attached (USB vendor 016c, product 04f3)\n";
    for (const dev::ReaderInterface& r : found)
        out << tk::Printable(r.info.path) << "  interface "
            << (r.info.interfaceNumber < 0 ? std::string("?")
                                           : std::to_string(r.info.interfaceNumber))
            << "  serial " << (r.info.serial.empty() ? "(none)" : tk::Printable(r.info.serial))
            << "  open: " << OpenText(r) << "\n";
    return cli::EXIT_OK;
}

// The readers as a message lists them, one per line.
std::string Listed(const std::vector<const dev::ReaderInterface*>& readers) {
    std::string list;
    for (const dev::ReaderInterface* r : readers)
        list += "\n  " + tk::Printable(r->info.path) + "  serial " +
                (r->info.serial.empty() ? "(none)" : tk::Printable(r->info.serial));
    return list;
}

// The device path the command talks to: the one --device or --serial names,
// or the only one attached. Empty when none is attached (the command then
// says why no reader can be reached, as it does with one).
std::string ChooseDevice(dev::HidPort& port, const cli::CommandLine& o) {
    const std::vector<dev::ReaderInterface> found = dev::ListReaderInterfaces(port);
    if (!o.device.empty() || !o.serial.empty()) {
        // Readers of one production run may share a serial number: then it
        // names none of them.
        std::vector<const dev::ReaderInterface*> same;
        for (const dev::ReaderInterface& r : found)
            if (o.device.empty() && r.settings && r.info.serial == o.serial) same.push_back(&r);
        if (same.size() > 1)
            throw Failure{std::to_string(same.size()) + " readers have serial number " +
                          tk::Printable(o.serial) +
                          "; choose one with --device PATH:" + Listed(same)};
        for (const dev::ReaderInterface& r : found) {
            if (o.device.empty() ? r.info.serial != o.serial : r.info.path != o.device) continue;
            if (!r.openable)
                throw Failure{r.info.path + " may not be opened: " + OpenText(r).substr(4)};
            if (!r.settings) throw Failure{r.info.path + " is not the reader's settings interface"};
            return r.info.path;
        }
        throw Failure{o.device.empty()
                          ? "no reader with serial number " + tk::Printable(o.serial) + " attached"
                          : "no reader at " + o.device};
    }
    std::vector<const dev::ReaderInterface*> usable;
    for (const dev::ReaderInterface& r : found)
        if (r.settings) usable.push_back(&r);
    if (usable.size() <= 1) return usable.empty() ? std::string() : usable.front()->info.path;
    std::string message = std::to_string(usable.size()) +
                          " readers are attached; choose one with --device PATH or --serial S:";
    throw Failure{message + Listed(usable)};
}

// Configures each reader plugged in, one at a time: the one attached at the
// start, then one per arrival. A reader that failed is tried again on each
// change while it stays attached (a person pressing the button again), and
// is reported once.
class Batch : public dev::DeviceChangeReceiver {
  public:
    Batch(Environment& env, const profile::Profile& p, const cli::CommandLine& o)
        : m_env(env),
          m_profile(p),
          m_count(o.count),
          m_log(o.logFile),
          m_progress(env.out, env.err) {}

    int Run() {
        Session s(m_env, {}, this);
        m_env.err << PROGRAM << ": batch: configuring every reader plugged in"
                  << (m_count ? " (" + std::to_string(m_count) + ")"
                              : std::string(" until stopped"))
                  << "\n";
        if (s.Link().IsPresent()) Try(s);
        while (!(m_count && m_handled >= m_count)) {
            // A reader being configured is always finished and reported first.
            if (!m_progress.Failure().empty()) throw Failure{m_progress.Failure()};
            if (StopSignalNoted()) {
                m_env.err << PROGRAM << ": batch: stopped\n";
                break;
            }
            m_changed = false;
            if (!m_env.pump.WaitForDevice(-1))
                throw Failure{"no more device events can come (the device monitor failed)"};
            if (!m_changed) continue;
            if (!s.Link().CheckPresence()) {
                // Pulled out: the next reader is a fresh one.
                m_done = false;
                m_failedPath.reset();
            } else if (!m_done) {
                Try(s);
            }
        }
        return m_failed ? cli::EXIT_DIFFERS : cli::EXIT_OK;
    }

  private:
    bool OnDeviceChange(uint32_t, uintptr_t) override {
        m_changed = true;
        return true;
    }

    void Try(Session& s) {
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
        if (row.result != "verified") m_failed = true;
        m_progress.Report(row, m_count, diffs);
        m_log.Add(row);
    }

    Environment& m_env;
    const profile::Profile& m_profile;
    uint32_t m_count;
    uint32_t m_handled = 0;
    bool m_changed = false;
    bool m_done = false;                      // the attached reader has been configured
    std::optional<std::string> m_failedPath;  // the attached reader that failed
    bool m_failed = false;
    BatchLogFile m_log;
    BatchProgress m_progress;
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
    try {
        // The profile is checked before anything touches the device.
        std::optional<profile::Profile> p;
        if (options.command == Command::List) return List(env.port, options.json, env.out);
        if (options.command != Command::Read) p = LoadProfileFile(options.profile);
        if (options.command == Command::Batch) {
            if (!options.device.empty() || !options.serial.empty())
                throw Failure{
                    "batch configures every reader plugged in; --device and --serial do not "
                    "apply"};
            if (p->keys)
                throw Failure{
                    "batch writes the general settings; a profile with keys is applied "
                    "to one keypad at a time with 'apply'"};
            if (options.parallel) return RunParallelBatch(env, *p, options);
        }
        // Batch takes the readers as they come; it refuses too while more
        // than one is attached, as it cannot tell which is meant.
        const std::string path = ChooseDevice(env.port, options);
        if (options.command == Command::Batch) return Batch(env, *p, options).Run();
        Session s(env, path);
        switch (options.command) {
            case Command::Read:
                return Read(s, options.json, env.out);
            case Command::Apply:
                return Apply(s, *p, env.out);
            case Command::Verify:
                return Verify(s, *p, env.out);
            case Command::Batch:
            case Command::List:
            case Command::None:
                break;
        }
        return cli::EXIT_USAGE;
    } catch (const Failure& f) {
        env.out.flush();
        env.err << PROGRAM << ": " << f.message << "\n";
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
                 std::ostream& err, dev::ReportTracer* tracer) {
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
