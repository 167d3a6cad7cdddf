#include "bench/CommandBench.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/Stats.h"
#include "profile/Profile.h"

namespace bench {
namespace {

constexpr int RUN_TIMEOUT_MS = 30000;

// One run through the measuring program; false with error set when it could
// not start or failed.
bool RunOnce(const std::string& measure, const Program& program, ProcessRuns* out, bool keep) {
    std::vector<std::string> args = {program.path};
    args.insert(args.end(), program.args.begin(), program.args.end());
    std::string output;
    long long startNs = 0;
    if (!Capture(measure, args, ChildEnvironment("", false), RUN_TIMEOUT_MS, &output, &startNs,
                 &out->error))
        return false;
    const double seconds = NowSeconds() - static_cast<double>(startNs) / 1e9;
    double cpu = 0;
    long peakKb = 0;
    int status = -1;
    if (std::sscanf(output.c_str(), "cpu_s=%lf maxrss_kb=%ld status=%d", &cpu, &peakKb, &status) !=
            3 ||
        status != 0) {
        out->error = program.path + " did not exit with status 0: " + output;
        return false;
    }
    if (!keep) return true;
    out->seconds.push_back(seconds);
    out->cpuSeconds.push_back(cpu);
    out->peakKb.push_back(static_cast<double>(peakKb));
    return true;
}

}  // namespace

std::vector<ProcessRuns> MeasureProcesses(const std::string& measure,
                                          const std::vector<Program>& programs, int runs) {
    std::vector<ProcessRuns> results(programs.size());
    for (int i = 0; i <= runs; ++i)
        for (size_t p = 0; p < programs.size(); ++p)
            if (results[p].error.empty()) RunOnce(measure, programs[p], &results[p], i > 0);
    return results;
}

std::string TemporaryProfileFile(const profile::Profile& p) {
    char name[] = "/tmp/reader-config-bench-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return "";
    close(fd);
    std::ofstream(name, std::ios::binary) << profile::ProfileToJson(p);
    return name;
}

}  // namespace bench
