#include "cli/CommandMain.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

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

// Whether two names are one file: the same file when both exist, else the
// same absolute name.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const std::filesystem::path pa = tk::PathFromUtf8(a), pb = tk::PathFromUtf8(b);
    if (std::filesystem::equivalent(pa, pb, ec)) return true;
    return std::filesystem::weakly_canonical(pa, ec) == std::filesystem::weakly_canonical(pb, ec);
}

// An output that names an input would destroy it before it is read (a trace
// opened over the profile) or mix into it (log rows appended to it).
std::string SameFileClash(const cli::CommandLine& o) {
    const std::pair<const char*, std::string> outputs[] = {
        {"--trace", o.traceFile == "-" ? std::string() : o.traceFile}, {"--log", o.logFile}};
    const std::pair<const char*, std::string> inputs[] = {{"the profile", o.profile},
                                                          {"--simulate-state", o.simulateState}};
    for (const auto& [outName, out] : outputs)
        for (const auto& [inName, in] : inputs)
            if (!out.empty() && !in.empty() && SameFile(out, in))
                return std::string(outName) + " names " + inName + " " + in +
                       "; write it to another file";
    if (!o.traceFile.empty() && o.traceFile != "-" && !o.logFile.empty() &&
        SameFile(o.traceFile, o.logFile))
        return "--trace and --log name the same file " + o.logFile + "; give each its own";
    return {};
}

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
    if (const std::string clash = SameFileClash(options); !clash.empty()) {
        err << PROGRAM << ": " << clash << "\n";
        return cli::EXIT_USAGE;
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
    // success: a profile redirected there would be empty. A command that
    // failed has said why already.
    errno = 0;
    out.flush();
    if (out || status == cli::EXIT_ERROR) return status;
    const int error = errno;
    err << PROGRAM << ": cannot write the standard output"
        << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return cli::EXIT_ERROR;
}

}  // namespace cli
