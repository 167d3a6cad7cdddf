#include "cli/CommandMain.h"

#include <cerrno>
#include <cstdlib>
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

bool TraceOutput::Open(const std::string& file, const tk::Clock& clock, std::ostream& err,
                       Language language) {
    m_file = file;
    if (file.empty()) return true;
    std::ostream* out = &err;
    if (file != "-") {
        errno = 0;
        m_stream.open(tk::PathFromUtf8(file));
        if (!m_stream) {
            const int error = errno;
            err << PROGRAM << ": "
                << (error ? Say(language,
                                {"cannot write the trace to {}: {}", "无法写入跟踪记录 {}：{}"},
                                {file, std::strerror(error)})
                          : Say(language, {"cannot write the trace to {}", "无法写入跟踪记录 {}"},
                                {file}))
                << "\n";
            return false;
        }
        out = &m_stream;
    }
    m_tracer = std::make_unique<dev::TraceWriter>(*out, clock);
    return true;
}

bool TraceOutput::Check(std::ostream& err, Language language) const {
    if (!m_tracer || !m_tracer->Error()) return true;
    err << PROGRAM << ": "
        << Say(language, {"could not write the trace to {}: {}", "未能写完跟踪记录 {}：{}"},
               {m_file == "-" ? Say(language, {"standard error", "标准错误"}) : m_file,
                std::strerror(m_tracer->Error())})
        << "\n";
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
// "-" is standard input (the profile) or output (the log), no file.
std::string SameFileClash(const cli::CommandLine& o, Language l) {
    const auto file = [](const std::string& name) { return name == "-" ? std::string() : name; };
    const std::pair<std::string, std::string> outputs[] = {{"--trace", file(o.traceFile)},
                                                           {"--log", file(o.logFile)}};
    const std::pair<std::string, std::string> inputs[] = {
        {Say(l, {"the profile", "配置文件"}), file(o.profile)},
        {"--simulate-state", o.simulateState}};
    for (const auto& [outName, out] : outputs)
        for (const auto& [inName, in] : inputs)
            if (!out.empty() && !in.empty() && SameFile(out, in))
                return Say(l,
                           {"{} names {} {}; write it to another file",
                            "{} 指向了{} {}；请写到另一个文件"},
                           {outName, inName, in});
    if (!file(o.traceFile).empty() && !file(o.logFile).empty() && SameFile(o.traceFile, o.logFile))
        return Say(l,
                   {"--trace and --log name the same file {}; give each its own",
                    "--trace 和 --log 指向同一个文件 {}；请各用一个文件"},
                   {o.logFile});
    return {};
}

int RunAction(const cli::CommandLine& options, std::ostream& out, std::ostream& err,
              SystemDevicesMaker makeDevices, Language l) {
    switch (options.action) {
        case cli::CommandLine::Action::Help:
            out << cli::HelpText(PROGRAM, options.command, l);
            return cli::EXIT_OK;
        case cli::CommandLine::Action::Version:
            out << cli::VersionText();
            return cli::EXIT_OK;
        case cli::CommandLine::Action::Error:
            err << PROGRAM << ": "
                << (l == Language::Chinese && !options.errorZh.empty() ? options.errorZh
                                                                       : options.error)
                << "\n"
                << Say(l,
                       {"Try '{} --help' for more information.", "请用 '{} --help' 查看更多信息。"},
                       {PROGRAM})
                << "\n";
            return cli::EXIT_USAGE;
        case cli::CommandLine::Action::Run:
            break;
    }
    if (const std::string clash = SameFileClash(options, l); !clash.empty()) {
        err << PROGRAM << ": " << clash << "\n";
        return cli::EXIT_USAGE;
    }
    tk::SystemClock clock;
    TraceOutput trace;
    if (!trace.Open(options.traceFile, clock, err, l)) return cli::EXIT_ERROR;
    const int status = RunCommandOnDevices(options, clock, out, err, trace.Tracer(), makeDevices);
    return trace.Check(err, l) ? status : cli::EXIT_ERROR;
}

}  // namespace

int RunWithoutWindow(const cli::CommandLine& given, std::ostream& out, std::ostream& err,
                     SystemDevicesMaker makeDevices, Language (*systemLanguage)()) {
    // The language is settled once, before anything is said.
    cli::CommandLine options = given;
    const Language l = LanguageOf(options, systemLanguage ? systemLanguage() : Language::English);
    options.language = l == Language::Chinese ? CommandLine::LanguageChoice::Chinese
                                              : CommandLine::LanguageChoice::English;
    const int status = RunAction(options, out, err, makeDevices, l);
    // Output that did not reach its file (a full disk, a closed pipe) is no
    // success: a profile redirected there would be empty. A command that
    // failed has said why already.
    errno = 0;
    out.flush();
    if (out || status == cli::EXIT_ERROR) return status;
    const int error = errno;
    err << PROGRAM << ": "
        << (error ? Say(l, {"cannot write the standard output: {}", "无法写入标准输出：{}"},
                        {std::strerror(error)})
                  : Say(l, {"cannot write the standard output", "无法写入标准输出"}))
        << "\n";
    return cli::EXIT_ERROR;
}

bool NoDisplay(const cli::CommandLine& options) {
#ifdef _WIN32
    (void)options;
    return false;
#else
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return !options.toolkitPlatform && !set("DISPLAY") && !set("WAYLAND_DISPLAY") &&
           !set("QT_QPA_PLATFORM");
#endif
}

std::string NoDisplayText(Language language) {
    return std::string(PROGRAM) + ": " +
           Say(language,
               {"no display: use a command, see {} --help", "没有显示器：请使用命令，见 {} --help"},
               {PROGRAM}) +
           "\n";
}

}  // namespace cli
