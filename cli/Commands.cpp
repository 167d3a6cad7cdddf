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

#include "app/ControlIds.h"
#include "cli/BatchLogFile.h"
#include "cli/ParallelBatch.h"
#include "cli/Session.h"
#include "profile/ProfileFile.h"
#include "sim/SimulatedDevices.h"
#include "sim/SimulationState.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/FilePath.h"

using namespace ids;

namespace cli {
namespace {

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
    const auto diffs = ApplyAndCompare(s, p);
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
        : m_s(s), m_env(env), m_profile(p), m_count(o.count), m_log(o.logFile) {}

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
            if (!m_env.pump.WaitForDevice(-1))
                throw Failure{"no more device events can come (udev monitor failed)"};
            if (!m_s.Dlg().Link().IsPresent()) m_failedPath.reset();
        }
        m_s.Run(IDC_BATCH);
        return m_failed ? app::EXIT_DIFFERS : app::EXIT_OK;
    }

  private:
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
            m_log.Add(row);
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
    BatchLogFile m_log;
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

int RunCommand(const app::CommandLine& options, Environment& env) {
    using Command = app::CommandLine::Command;
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
    std::vector<sim::SimulatedDevice> kinds =
        options.simulated.empty() ? std::vector{options.simulate} : options.simulated;
    const std::string& state = options.simulateState;
    std::string error;
    std::error_code ec;
    const bool restored = !state.empty() && std::filesystem::exists(tk::PathFromUtf8(state), ec);
    if (restored && !sim::LoadSimulationState(state, port, &error)) {
        err << PROGRAM << ": " << error << "\n";
        return app::EXIT_ERROR;
    }
    SimulatedPlugger plugger(port, restored ? std::vector<sim::SimulatedDevice>{} : kinds,
                             options.parallel, kinds.front());
    if (!restored) {
        // The readers attached at start have left the factory configured
        // with the factory settings (Set Device on a fresh dialog), so that
        // read and verify find settings in them; batch plugs in fresh ones.
        std::ostringstream quiet;
        Environment setup{port, port, clock, plugger, quiet, quiet, nullptr};
        for (sim::VirtualDevice* d : port.Devices())
            Session(setup, d->Path()).Dlg().OnCommand(IDC_SET_DEVICE);
        clock.WaitUntil(clock.NowMs() + SETTLE_MS);  // their last answers have come
    }
    Environment env{port, port, clock, plugger, out, err, tracer};
    const int status = RunCommand(options, env);
    if (!state.empty() && !sim::SaveSimulationState(state, port, &error)) {
        err << PROGRAM << ": " << error << "\n";
        return app::EXIT_ERROR;
    }
    return status;
}

}  // namespace cli
