// The command-line parser on arbitrary arguments (the input split at NUL
// bytes, as argv arrives): it never crashes; an error says why and names an
// argument it was given; a command line it accepts is consistent, and the
// same options spelled out once more in one canonical form parse to the
// same result.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "cli/CommandLine.h"

namespace {

using cli::CommandLine;

bool Same(const CommandLine& a, const CommandLine& b) {
    return a.action == b.action && a.command == b.command && a.simulate == b.simulate &&
           a.simulated == b.simulated && a.simulateState == b.simulateState &&
           a.traceFile == b.traceFile && a.profile == b.profile && a.json == b.json &&
           a.device == b.device && a.serial == b.serial && a.count == b.count &&
           a.logFile == b.logFile && a.parallel == b.parallel && a.force == b.force &&
           a.quiet == b.quiet && a.verbose == b.verbose && a.language == b.language;
}

bool TakesProfile(CommandLine::Command c) {
    using Command = CommandLine::Command;
    return c == Command::Apply || c == Command::Verify || c == Command::Batch;
}

// Every option as "--name=value", then "--", the command and its profile.
std::vector<std::string> Canonical(const CommandLine& c) {
    std::vector<std::string> args;
    if (!c.simulated.empty()) {
        std::string names;
        for (sim::SimulatedDevice d : c.simulated)
            names += (names.empty() ? "" : ",") + std::string(sim::SimulatedDeviceName(d));
        args.push_back("--simulate=" + names);
    }
    const std::pair<const char*, const std::string*> values[] = {
        {"--simulate-state=", &c.simulateState},
        {"--trace=", &c.traceFile},
        {"--device=", &c.device},
        {"--serial=", &c.serial},
        {"--log=", &c.logFile}};
    for (const auto& [name, value] : values)
        if (!value->empty()) args.push_back(name + *value);
    if (c.json) args.push_back("--json");
    if (c.parallel) args.push_back("--parallel");
    if (c.count) args.push_back("--count=" + std::to_string(c.count));
    if (c.force) args.push_back("--force");
    if (c.quiet) args.push_back("--quiet");
    for (int i = 0; i < c.verbose; ++i) args.push_back("--verbose");
    if (c.language != CommandLine::LanguageChoice::System)
        args.push_back(c.language == CommandLine::LanguageChoice::Chinese ? "--lang=zh"
                                                                          : "--lang=en");
    args.push_back("--");
    if (c.command != CommandLine::Command::None) args.push_back(cli::CommandName(c.command));
    if (TakesProfile(c.command)) args.push_back(c.profile);
    return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args;
    if (size > 0) {
        const std::string text(reinterpret_cast<const char*>(data), size);
        size_t start = 0;
        for (size_t nul; (nul = text.find('\0', start)) != std::string::npos; start = nul + 1)
            args.push_back(text.substr(start, nul - start));
        args.push_back(text.substr(start));
    }
    const CommandLine c = cli::ParseCommandLine(args);
    if (c.action == CommandLine::Action::Error) {
        FUZZ_CHECK(!c.error.empty());
        // The argument named is one given, or the option it starts ("--count=0").
        FUZZ_CHECK(c.offending.empty() ||
                   std::any_of(args.begin(), args.end(),
                               [&](const std::string& a) { return a.starts_with(c.offending); }));
        return 0;
    }
    if (c.action != CommandLine::Action::Run) return 0;
    FUZZ_CHECK(c.error.empty());
    FUZZ_CHECK(c.simulated.size() <= 64);
    FUZZ_CHECK(c.simulated.empty() ? c.simulate == sim::SimulatedDevice::None
                                   : c.simulate == c.simulated.front());
    using Command = CommandLine::Command;
    FUZZ_CHECK(c.profile.empty() || TakesProfile(c.command));
    FUZZ_CHECK(!c.json || c.command != Command::None);
    FUZZ_CHECK(!c.force || c.command == Command::Apply);
    FUZZ_CHECK(!(c.quiet && c.verbose));
    FUZZ_CHECK(!(c.json && c.logFile == "-"));
    FUZZ_CHECK(c.device.empty() || c.serial.empty());
    FUZZ_CHECK(c.simulateState.empty() || !c.simulated.empty());
    FUZZ_CHECK((c.count == 0 && c.logFile.empty() && !c.parallel) || c.command == Command::Batch);

    const CommandLine again = cli::ParseCommandLine(Canonical(c));
    FUZZ_CHECK(Same(c, again));
    return 0;
}
