#include "bench/ParallelBatchBench.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "base/Clock.h"
#include "bench/CommandBench.h"
#include "bench/Stats.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "profile/Profile.h"
#include "sim/CardReaderModel.h"
#include "sim/VirtualHidPort.h"

namespace bench {
namespace {

void RunOnce(const std::string& profilePath, int readers, ParallelCost* cost) {
    tk::SystemClock clock;
    sim::VirtualHidPort hub(clock);
    for (int i = 0; i < readers; ++i) hub.AttachQuietly(std::make_unique<sim::CardReaderModel>());
    cli::NoDeviceEvents pump;
    std::ostringstream out, err;
    cli::Environment env{hub, hub, clock, pump, out, err};
    const cli::CommandLine options = cli::ParseCommandLine(
        {"batch", profilePath, "--parallel", "--count", std::to_string(readers)});
    const double cpu0 = CpuSeconds(), t0 = NowSeconds();
    const int status = cli::RunCommand(options, env);
    cost->seconds = NowSeconds() - t0;
    cost->cpuSeconds = CpuSeconds() - cpu0;
    cost->failedRuns = status != 0;
}

}  // namespace

std::vector<ParallelCost> MeasureParallelBatch(const std::vector<int>& sizes, int runs) {
    profile::Profile p;
    p.idFormat = 5;
    p.SetIdSymbol(reader::FIELD_ID_END, true, "END");
    const std::string profilePath = TemporaryProfileFile(p);

    std::vector<std::vector<double>> seconds(sizes.size()), cpu(sizes.size());
    std::vector<int> failed(sizes.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            ParallelCost one;
            RunOnce(profilePath, sizes[i], &one);
            seconds[i].push_back(one.seconds);
            cpu[i].push_back(one.cpuSeconds);
            failed[i] += one.failedRuns;
        }
    }
    std::remove(profilePath.c_str());
    std::vector<ParallelCost> out;
    for (size_t i = 0; i < sizes.size(); ++i)
        out.push_back({sizes[i], Median(seconds[i]), Median(cpu[i]), failed[i]});
    return out;
}

}  // namespace bench
