#include "cli/CommandMain.h"

#include <cerrno>
#include <cstring>

#include "base/FilePath.h"

namespace cli {

namespace {

int RunCommandOnDevices(const cli::CommandLine& options, tk::Clock& clock, std::ostream& out,
                        std::ostream& err, dev::ReportTracer* tracer,
                        SystemDevicesMaker makeDevices) {
    if (options.simulate != sim::SimulatedDevice::None)
        return RunSimulated(options, clock, out, err, tracer);
    const std::unique_ptr<SystemDevices> devices = makeDevices();
    Environment env{devices->Port(), devices->Watcher(), clock, devices->Pump(), out, err, tracer};
    return RunCommand(options, env);
}

}  // namespace

bool TraceOutput::Open(const std::string& file, const tk::Clock& clock, std::ostream& err) {
    m_file = file;
    if (file.empty()) return true;
    std::ostream* out = &err;
    if (file != "-") {
        m_stream.open(tk::PathFromUtf8(file));
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

bool WithoutWindow(const cli::CommandLine& options) {
    return options.action != cli::CommandLine::Action::Run ||
           options.command != cli::CommandLine::Command::None;
}

namespace {

int RunAction(const cli::CommandLine& options, std::ostream& out, std::ostream& err,
              SystemDevicesMaker makeDevices) {
    switch (options.action) {
        case cli::CommandLine::Action::Help:
            out << cli::HelpText(PROGRAM);
            return cli::EXIT_OK;
        case cli::CommandLine::Action::Version:
            out << cli::VersionText();
            return cli::EXIT_OK;
        case cli::CommandLine::Action::Error:
            err << PROGRAM << ": " << options.error << "\nTry '" << PROGRAM
                << " --help' for more information.\n";
            return cli::EXIT_USAGE;
        case cli::CommandLine::Action::Run:
            break;
    }
    tk::SystemClock clock;
    TraceOutput trace;
    if (!trace.Open(options.traceFile, clock, err)) return cli::EXIT_ERROR;
    const int status = RunCommandOnDevices(options, clock, out, err, trace.Tracer(), makeDevices);
    return trace.Check(err) ? status : cli::EXIT_ERROR;
}

}  // namespace

int RunWithoutWindow(const cli::CommandLine& options, std::ostream& out, std::ostream& err,
                     SystemDevicesMaker makeDevices) {
    const int status = RunAction(options, out, err, makeDevices);
    // Output that did not reach its file (a full disk, a closed pipe) is no
    // success: a profile redirected there would be empty.
    errno = 0;
    out.flush();
    if (out) return status;
    const int error = errno;
    err << PROGRAM << ": cannot write the standard output"
        << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return cli::EXIT_ERROR;
}

}  // namespace cli
