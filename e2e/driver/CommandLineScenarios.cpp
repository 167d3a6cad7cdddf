// The tool's command line through the kernel, each command in a process of
// its own as a script runs it: the driver starts itself in its command mode,
// which is the tool's own command-line entry (the tool's binary would bring
// Qt into the guest). Profiles are written to the guest's /tmp.

#include <string>
#include <vector>

#include "e2e/driver/ProgramRun.h"
#include "e2e/driver/Scenarios.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"

namespace e2e {

namespace {

constexpr int COMMAND_TIMEOUT_MS = 60000;

// One command of the tool, run to its end in a process of its own.
ProgramRun Tool(const std::vector<std::string>& args) {
    std::vector<std::string> all = {COMMAND_MODE};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram("/proc/self/exe", all, COMMAND_TIMEOUT_MS);
}

std::string Flat(const std::string& text) {
    std::string s;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n')
            s += text[i];
        else if (i + 1 < text.size())
            s += " / ";
    }
    return s;
}

// "exit 1; out \"...\"; err \"...\"" for a result's detail.
std::string Said(const ProgramRun& r) {
    std::string d = r.status >= 0 ? "exit " + std::to_string(r.status) : r.error;
    if (!r.out.empty()) d += "; out \"" + Flat(r.out) + "\"";
    if (!r.err.empty()) d += "; err \"" + Flat(r.err) + "\"";
    return d;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A profile unlike the factory settings, with two long texts.
profile::Profile TestProfile(int idFormat) {
    profile::Profile p;
    p.idFormat = idFormat;
    p.middleSeparator = {true, "--"};
    p.endString = {true, "END"};
    p.enter = false;
    p.tracks = {true, false, true};
    return p;
}

bool WriteProfile(Context& c, const char* scenario, const std::string& path,
                  const profile::Profile& p) {
    if (profile::WriteTextFile(path, profile::ProfileToJson(p))) return true;
    return c.results.Record(scenario, "write " + path, false, 0, "cannot write the file");
}

}  // namespace

void CommandLineProcesses(Context& c) {
    const char* s = "command-line";
    const std::string wanted = "/tmp/e2e-profile.json", other = "/tmp/e2e-other.json";
    if (!WriteProfile(c, s, wanted, TestProfile(5)) || !WriteProfile(c, s, other, TestProfile(6)))
        return;
    if (!c.Prepare(s, "reader", REALISTIC_DELAY_MS)) return;

    ProgramRun r = Tool({"apply", wanted});
    c.results.Record(s, "apply", r.status == 0 && Has(r.out, "applied"), r.ms, Said(r));
    Context::Settle(REALISTIC_DELAY_MS);
    r = Tool({"verify", wanted});
    c.results.Record(s, "verify in a second process", r.status == 0, r.ms, Said(r));
    Context::Settle(REALISTIC_DELAY_MS);
    r = Tool({"verify", other});
    c.results.Record(s, "verify a profile that differs",
                     r.status == 1 && Has(r.out, "idFormat: expected 6, found 5"), r.ms, Said(r));
    Context::Settle(REALISTIC_DELAY_MS);

    if (!c.Unplug(s, true)) return;
    r = Tool({"verify", wanted});
    c.results.Record(s, "verify with no reader", r.status == 2 && Has(r.err, "no reader attached"),
                     r.ms, Said(r));
}

}  // namespace e2e
