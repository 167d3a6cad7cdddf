#include "cli/linux/CommandLineMain.h"

#include <poll.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/Commands.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"

namespace cli {

namespace {

// Waits on the udev monitor for batch mode (-1: without a time limit).
class UdevPump : public EventPump {
  public:
    explicit UdevPump(dev::UdevWatcher& watcher) : m_watcher(watcher) {}
    bool WaitForDevice(int timeoutMs) override {
        if (m_watcher.Fd() < 0) return false;
        pollfd pfd{m_watcher.Fd(), POLLIN, 0};
        for (;;) {
            const int n = ::poll(&pfd, 1, timeoutMs);
            if (n == 0) return true;
            if (n > 0) break;
            if (errno != EINTR) return false;
        }
        if (pfd.revents & (POLLERR | POLLNVAL)) return false;
        m_watcher.Dispatch();
        return true;
    }

  private:
    dev::UdevWatcher& m_watcher;
};

int RunCommandOnDevices(const app::CommandLine& options, tk::Clock& clock, std::ostream& out,
                        std::ostream& err, dev::ReportTracer* tracer) {
    if (options.simulate != sim::SimulatedDevice::None)
        return RunSimulated(options, clock, out, err, tracer);
    dev::HidapiPort port;
    dev::UdevWatcher watcher;
    UdevPump pump(watcher);
    Environment env{port, watcher, clock, pump, out, err, tracer};
    return RunCommand(options, env);
}

}  // namespace

bool TraceOutput::Open(const std::string& file, const tk::Clock& clock, std::ostream& err) {
    m_file = file;
    if (file.empty()) return true;
    std::ostream* out = &err;
    if (file != "-") {
        m_stream.open(file);
        if (!m_stream) {
            err << PROGRAM << ": cannot write the trace to " << file << "\n";
            return false;
        }
        out = &m_stream;
    }
    m_tracer = std::make_unique<dev::TraceWriter>(*out, clock);
    return true;
}

bool TraceOutput::Check(std::ostream& err) const {
    if (!m_tracer || !m_tracer->Error()) return true;
    err << PROGRAM << ": could not write the trace to "
        << (m_file == "-" ? std::string("standard error") : m_file) << ": "
        << std::strerror(m_tracer->Error()) << "\n";
    return false;
}

bool WithoutWindow(const app::CommandLine& options) {
    return options.action != app::CommandLine::Action::Run ||
           options.command != app::CommandLine::Command::None;
}

int RunWithoutWindow(const app::CommandLine& options, std::ostream& out, std::ostream& err) {
    switch (options.action) {
        case app::CommandLine::Action::Help:
            out << app::HelpText(PROGRAM);
            return app::EXIT_OK;
        case app::CommandLine::Action::Version:
            out << app::VersionText();
            return app::EXIT_OK;
        case app::CommandLine::Action::Error:
            err << PROGRAM << ": " << options.error << "\nTry '" << PROGRAM
                << " --help' for more information.\n";
            return app::EXIT_USAGE;
        case app::CommandLine::Action::Run:
            break;
    }
    tk::SystemClock clock;
    TraceOutput trace;
    if (!trace.Open(options.traceFile, clock, err)) return app::EXIT_ERROR;
    const int status = RunCommandOnDevices(options, clock, out, err, trace.Tracer());
    return trace.Check(err) ? status : app::EXIT_ERROR;
}

}  // namespace cli
