// The tool's command line through the kernel, each command in a process of
// its own as a script runs it: the driver starts itself in its command mode,
// which is the tool's own command-line entry (the tool's binary would bring
// Qt into the guest). Profiles are written to the guest's /tmp.

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/driver/ProgramRun.h"
#include "e2e/driver/Scenarios.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"

namespace e2e {

namespace {

constexpr int COMMAND_TIMEOUT_MS = 60000;
// These scenarios are about processes, exit statuses and devices, not the
// answer window (delay-window measures that): the readers answer in the
// middle of a read's 600 ms, so that a host that starves the guest for a
// moment does not make an answer come before the read has opened the device.
constexpr int ANSWER_DELAY_MS = 300;

// Each command's reports, shown when it fails.
constexpr const char* TRACE_FILE = "/tmp/e2e-command-trace.txt";

// One command of the tool, run to its end in a process of its own.
ProgramRun Tool(const std::vector<std::string>& args) {
    std::vector<std::string> all = {COMMAND_MODE, "--trace", TRACE_FILE};
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

// Records the command's outcome; a failed command's trace follows it.
bool Record(Context& c, const char* scenario, const std::string& op, bool ok, const ProgramRun& r) {
    c.results.Record(scenario, op, ok, r.ms, Said(r));
    if (ok) return true;
    std::ifstream trace(TRACE_FILE);
    for (std::string line; std::getline(trace, line);) c.results.Info(scenario, line);
    return false;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A profile unlike the factory settings, with two long texts.
profile::Profile TestProfile(int idFormat) {
    profile::Profile p;
    p.idFormat = idFormat;
    p.SetIdSymbol(reader::FIELD_ID_MIDDLE, true, "--");
    p.SetIdSymbol(reader::FIELD_ID_END, true, "END");
    p.enter = false;
    p.tracks = {true, false, true};
    return p;
}

bool WriteProfile(Context& c, const char* scenario, const std::string& path,
                  const profile::Profile& p) {
    if (profile::WriteTextFile(path, profile::ProfileToJson(p))) return true;
    return c.results.Record(scenario, "write " + path, false, 0, "cannot write the file");
}

// The rows of a batch log below its header, split at the commas (the test's
// paths and serial numbers need no quoting).
std::vector<std::vector<std::string>> CsvRows(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    for (bool header = true; std::getline(in, line); header = false) {
        if (header) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

void CommandLineProcesses(Context& c) {
    const char* s = "command-line";
    const std::string wanted = "/tmp/e2e-profile.json", other = "/tmp/e2e-other.json";
    if (!WriteProfile(c, s, wanted, TestProfile(5)) || !WriteProfile(c, s, other, TestProfile(6)))
        return;
    if (!c.Prepare(s, "reader", ANSWER_DELAY_MS)) return;

    ProgramRun r = Tool({"apply", wanted});
    Record(c, s, "apply", r.status == 0 && Has(r.out, "applied"), r);
    Context::Settle(ANSWER_DELAY_MS);
    r = Tool({"verify", wanted});
    Record(c, s, "verify in a second process", r.status == 0, r);
    Context::Settle(ANSWER_DELAY_MS);
    r = Tool({"verify", other});
    Record(c, s, "verify a profile that differs",
           r.status == 1 && Has(r.out, "idFormat: expected 6, found 5"), r);
    Context::Settle(ANSWER_DELAY_MS);

    if (!c.Unplug(s, true)) return;
    r = Tool({"verify", wanted});
    Record(c, s, "verify with no reader", r.status == 2 && Has(r.err, "no reader attached"), r);
}

void ParallelBatch(Context& c) {
    const char* s = "parallel-batch";
    const std::string fleet = "/tmp/e2e-fleet.json", log = "/tmp/b.csv";
    if (!WriteProfile(c, s, fleet, TestProfile(7))) return;
    std::remove(log.c_str());
    if (!c.Unplug(s, true)) return;

    // Two readers at once, a device program each, told apart by serial number.
    const std::string serials[2] = {"E2E00001", "E2E00002"};
    DeviceProcess readers[2];
    Stopwatch sw;
    for (int i = 0; i < 2; ++i) {
        if (!readers[i].Start(c.deviceProgram,
                              {"--unplugged", "--model", "reader", "--serial", serials[i]}) ||
            !readers[i].Command("delay " + std::to_string(ANSWER_DELAY_MS)) ||
            !readers[i].Command("plug")) {
            c.results.Record(s, "reader " + serials[i] + " plugged", false, sw.Ms(),
                             readers[i].Error());
            return;
        }
    }
    const bool both = c.WaitForReaderInterfaces(2);
    std::map<std::string, std::string> serialAt;  // by device path
    std::string found;
    for (const dev::HidInterfaceInfo& i : c.ReaderInterfaces()) {
        serialAt[i.path] = i.serial;
        found += " " + i.path + " (serial \"" + i.serial + "\")";
    }
    c.results.Record(s, "two readers plugged", both, sw.Ms(), "interfaces:" + found);
    if (!both) return;

    ProgramRun r = Tool({"list"});
    bool listed = r.status == 0;
    for (const auto& entry : serialAt) listed = listed && Has(r.out, entry.first + " ");
    for (const std::string& serial : serials) listed = listed && Has(r.out, "serial " + serial);
    Record(c, s, "list shows both", listed, r);

    r = Tool({"batch", fleet, "--parallel", "--count", "2", "--log", log});
    const auto rows = CsvRows(log);
    std::set<std::string> rowPaths, rowSerials;
    bool verified = rows.size() == 2;
    std::string logged;
    for (const std::vector<std::string>& row : rows) {
        verified = verified && row.size() == 5 && row[2] == "verified" && serialAt.count(row[3]) &&
                   serialAt[row[3]] == row[4];
        if (row.size() == 5) {
            rowPaths.insert(row[3]);
            rowSerials.insert(row[4]);
        }
        std::string line;
        for (const std::string& field : row) line += (line.empty() ? "" : ",") + field;
        logged += " / " + line;
    }
    const bool distinct = rowPaths.size() == 2 && rowSerials.size() == 2;
    c.results.Info(s, "batch log:" + (logged.empty() ? std::string(" empty") : logged));
    Record(c, s, "batch --parallel --count 2", r.status == 0 && verified && distinct, r);
    Context::Settle(ANSWER_DELAY_MS);

    for (const auto& entry : serialAt) {
        const std::string& path = entry.first;
        r = Tool({"verify", fleet, "--device", path});
        Record(c, s, "verify --device " + path, r.status == 0, r);
        Context::Settle(ANSWER_DELAY_MS);
    }
}

}  // namespace e2e
