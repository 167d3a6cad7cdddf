#include "cli/ParallelBatch.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "cli/BatchReport.h"
#include "cli/Session.h"
#include "cli/StopSignal.h"
#include "device/ReportTrace.h"

namespace cli {
namespace {

// How often a batch waiting for devices looks at those that finished.
constexpr int RESULT_POLL_MS = 100;

struct Outcome {
    uint64_t worker = 0;
    std::string key;  // the device's entry in the batch's record of devices
    profile::BatchRow row;
    std::vector<profile::Difference> diffs;
    std::string messages;  // what its session said, for standard error
    std::string failure;   // why it failed
};

// Configures and verifies one device; runs on a thread of its own with a
// dialog of its own.
Outcome Configure(Environment& shared, std::unique_ptr<SessionSpace> space,
                  const dev::HidInterfaceInfo& info, const profile::Profile& p) {
    Outcome o;
    o.row.path = info.path;
    o.row.serial = info.serial;
    // Its dialog takes no device events: it is bound to its device.
    NoDeviceEvents none;
    std::ostringstream out, err;
    std::optional<dev::DeviceTracer> tracer;  // the devices' lines interleave
    if (shared.tracer) tracer.emplace(*shared.tracer, [path = info.path] { return path; });
    tk::Clock& clock = space ? space->Clock() : shared.clock;
    Environment env{space ? space->Port() : shared.port, none, clock, none, out, err,
                    tracer ? &*tracer : nullptr};
    env.language = shared.language;
    env.verbose = shared.verbose;
    try {
        Session s(env, info.path);
        s.RequireDevice();
        o.diffs = ApplyAndCompare(s, p);
        o.row.result = o.diffs.empty() ? "verified" : "differs";
    } catch (const Failure& f) {
        o.row.result = "failed";
        o.failure = f.message;
    } catch (const std::exception& e) {
        o.row.result = "failed";
        o.failure = e.what();
    }
    if (!o.failure.empty()) err << PROGRAM << ": " << o.failure << "\n";
    o.messages = err.str();
    o.row.time = clock.Now();
    return o;
}

class ParallelBatch {
  public:
    ParallelBatch(Environment& env, const profile::Profile& p, const cli::CommandLine& o)
        : m_env(env), m_profile(p), m_count(o.count), m_report(env, o) {}

    ~ParallelBatch() {
        for (auto& [id, t] : m_workers) t.join();
    }

    int Run() {
        m_report.Open(true);
        for (;;) {
            if (WantMore() && m_running < PARALLEL_MAX_RUNNING) StartNewDevices();
            ReportFinished();
            if (Stopping()) {
                // No reader is started that could not be reported; those
                // running are reported as they finish.
                WaitForRunning();
                if (!EndReason().empty()) {
                    m_report.Summary();
                    throw Failure{EndReason()};
                }
                m_report.Stopped();
                break;
            }
            if (m_count && m_handled >= m_count) break;
            if (WantMore() && m_running < PARALLEL_MAX_RUNNING) {
                if (!m_env.pump.WaitForDevice(m_running ? RESULT_POLL_MS : -1)) {
                    WaitForRunning();
                    m_report.Summary();
                    throw Failure{Say(m_env.language, NO_MORE_DEVICE_EVENTS)};
                }
            } else {
                std::unique_lock lock(m_mutex);
                m_finishedChanged.wait(lock, [this] { return !m_finished.empty(); });
            }
        }
        m_report.Summary();
        return m_report.AnyFailed() ? cli::EXIT_DIFFERS : cli::EXIT_OK;
    }

  private:
    // Why the batch ends before its count: the log or the standard output
    // cannot be written.
    const std::string& EndReason() const {
        return m_logFailure.empty() ? m_report.OutputFailure() : m_logFailure;
    }
    bool Stopping() const { return !EndReason().empty() || StopSignalNoted() != 0; }
    bool WantMore() const { return !Stopping() && (!m_count || m_started < m_count); }

    // A device is known by its attachment; by its path where the platform
    // cannot tell attachments apart (the path is free again once it is gone).
    static std::string KeyOf(const dev::HidInterfaceInfo& info) {
        return info.instance.empty() ? "path:" + info.path : info.instance;
    }

    void StartNewDevices() {
        const std::vector<dev::HidInterfaceInfo> present = m_env.port.Enumerate();
        std::set<std::string> keys;
        for (const dev::HidInterfaceInfo& info : present) keys.insert(KeyOf(info));
        // Devices that finished, or were refused, and went away are forgotten.
        for (auto it = m_known.begin(); it != m_known.end();)
            it = it->second && !keys.count(it->first) ? m_known.erase(it) : std::next(it);
        for (auto it = m_refused.begin(); it != m_refused.end();)
            it = keys.count(*it) ? std::next(it) : m_refused.erase(it);

        const auto fresh = dev::ListReaderInterfaces(
            m_env.port, [this](const auto& info) { return !m_known.count(KeyOf(info)); });
        for (const dev::ReaderInterface& r : fresh) {
            if (!WantMore() || m_running >= PARALLEL_MAX_RUNNING) break;
            if (!r.openable) {
                // Said once; it is tried again on each change, as access may
                // be granted (the udev rule reloaded) while it stays plugged in.
                if (m_refused.insert(KeyOf(r.info)).second)
                    m_report.Skipped(Say(m_env.language,
                                         {"{}: may not be opened ({}); not configured",
                                          "{}：无法打开（{}）；未配置"},
                                         {r.info.path, OpenReason(r, m_env.language)}));
                continue;
            }
            if (!r.settings) {
                m_known[KeyOf(r.info)] = true;  // the reader's keyboard interface: nothing to do
                continue;
            }
            m_known[KeyOf(r.info)] = false;
            ++m_started;
            ++m_running;
            const uint64_t worker = m_nextWorker++;
            // Its timeline, where it has one of its own, starts now.
            std::unique_ptr<SessionSpace> space =
                m_env.newSessionSpace ? m_env.newSessionSpace() : nullptr;
            m_workers[worker] =
                std::thread([this, worker, space = std::move(space), info = r.info]() mutable {
                    Outcome o = Configure(m_env, std::move(space), info, m_profile);
                    o.worker = worker;
                    o.key = KeyOf(info);
                    std::lock_guard lock(m_mutex);
                    m_finished.push_back(std::move(o));
                    m_finishedChanged.notify_one();
                });
        }
    }

    void ReportFinished() {
        std::deque<Outcome> done;
        {
            std::lock_guard lock(m_mutex);
            done.swap(m_finished);
        }
        for (Outcome& o : done) {
            // Joined at once: a batch that runs for days keeps no finished threads.
            m_workers[o.worker].join();
            m_workers.erase(o.worker);
            --m_running;
            m_known[o.key] = true;
            m_env.pump.Finished(o.row.path);
            if (m_count && m_handled >= m_count) continue;
            o.row.count = ++m_handled;
            m_env.err << o.messages;
            try {
                m_report.Finished(o.row, o.diffs, o.failure);
            } catch (const Failure& f) {
                if (m_logFailure.empty()) m_logFailure = f.message;
            }
        }
    }

    // Reports the devices still being configured once they have finished.
    void WaitForRunning() {
        while (m_running > 0) {
            {
                std::unique_lock lock(m_mutex);
                m_finishedChanged.wait(lock, [this] { return !m_finished.empty(); });
            }
            ReportFinished();
        }
    }

    Environment& m_env;
    const profile::Profile& m_profile;
    uint32_t m_count;
    BatchReport m_report;
    uint32_t m_started = 0, m_handled = 0;
    size_t m_running = 0;
    std::string m_logFailure;             // why the log could not be written: the batch ends
    std::map<std::string, bool> m_known;  // devices started: key -> finished
    std::set<std::string> m_refused;      // devices that may not be opened, named once
    std::map<uint64_t, std::thread> m_workers;
    uint64_t m_nextWorker = 0;
    std::mutex m_mutex;
    std::condition_variable m_finishedChanged;
    std::deque<Outcome> m_finished;  // guarded by m_mutex
};

}  // namespace

int RunParallelBatch(Environment& env, const profile::Profile& p, const cli::CommandLine& options) {
    return ParallelBatch(env, p, options).Run();
}

}  // namespace cli
