// reader-config-bench: measures the tool's start-up, memory, output pane,
// idle load, device operations and GBK conversion, and prints one table
// (Markdown) with the targets each ratio is held to.
//
//   reader-config-bench --tool build/reader-config --minimal build/bench/minimal-dialog
//                       [--runs 15] [--lines 100000] [--readers 30000] [--idle 10]

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench/AppendBench.h"
#include "bench/CommandBench.h"
#include "bench/GbkBench.h"
#include "bench/IdleBench.h"
#include "bench/LongRunBench.h"
#include "bench/OperationBench.h"
#include "bench/ParallelBatchBench.h"
#include "bench/StartupBench.h"
#include "bench/Stats.h"

namespace {

// The targets the table holds each ratio to.
constexpr double START_CPU_LIMIT = 1.5;
constexpr double START_PEAK_LIMIT = 1.15;
constexpr double SET_DEVICE_LIMIT_S = 0.5e-3;
constexpr double IDLE_LIMIT = 0.5;
constexpr double BATCH_LIMIT_KB = 100 * 1024;
constexpr int PANE_MEMORY_LINES = 10000;
// N readers configured at once take about the time of one.
constexpr double PARALLEL_LIMIT = 1.5;
// A command's fixed cost against a program that links only hidapi and libudev.
constexpr double COMMAND_LIMIT = 1.5;
// apply --simulate on the real clock: the virtual reader answers 5 ms after
// a frame; the factory set-up, Set Device and Read Device's request each
// wait for one answer, and the answer Read Device hands back goes unanswered
// for the read's 600 ms. The target allows 20 ms on top.
constexpr double APPLY_FLOOR_S = 0.600 + 3 * 0.005;
constexpr double APPLY_SLACK_S = 0.020;
constexpr int PARALLEL_RUNS = 5;

struct Options {
    std::string tool;
    std::string minimal;
    std::string minimalCommands;  // default: minimal-commands beside minimal
    int runs = 15;
    int lines = 100000;
    int readers = 30000;
    double idleSeconds = 10;
};

bool Parse(int argc, char** argv, Options* o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--tool")
            o->tool = value;
        else if (key == "--minimal")
            o->minimal = value;
        else if (key == "--runs")
            o->runs = std::atoi(value);
        else if (key == "--minimal-commands")
            o->minimalCommands = value;
        else if (key == "--lines")
            o->lines = std::atoi(value);
        else if (key == "--readers")
            o->readers = std::atoi(value);
        else if (key == "--idle")
            o->idleSeconds = std::atof(value);
        else
            return false;
    }
    return argc % 2 == 1 && !o->tool.empty() && !o->minimal.empty() && o->runs > 0 &&
           o->lines >= 100 && o->readers > 0 && o->idleSeconds > 0;
}

void Row(const std::string& what, const std::string& value, const std::string& reference = "",
         const std::string& ratio = "", const std::string& target = "") {
    std::printf("| %s | %s | %s | %s | %s |\n", what.c_str(), value.c_str(), reference.c_str(),
                ratio.c_str(), target.c_str());
}

std::string Megabytes(double kb) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", kb / 1024);
    return text;
}

std::string Thousands(long long n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// "≤ 1.50: met" or "≤ 1.50: NOT met"
std::string Target(const char* relation, double limit, bool met) {
    char text[48];
    std::snprintf(text, sizeof text, "%s %.2f: %s", relation, limit, met ? "met" : "NOT met");
    return text;
}

std::string SelfPath(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return argv0;
    path[n] = '\0';
    return path;
}

int RunChild(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qapp(argc, argv);
    const int n = std::atoi(argv[2]);
    return std::strcmp(argv[1], "--pane-child") == 0 ? bench::RunPaneChild(n)
                                                     : bench::RunBatchChild(n);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 &&
        (std::strcmp(argv[1], "--pane-child") == 0 || std::strcmp(argv[1], "--batch-child") == 0))
        return RunChild(argc, argv);
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: %s --tool PATH --minimal PATH [--runs N] [--lines N] [--readers N] "
                     "[--idle SECONDS]\n",
                     argv[0]);
        return 2;
    }
    const std::string self = SelfPath(argv[0]);

    // Separate processes first, while this one is still small and idle.
    const std::vector<bench::StartupRuns> starts =
        bench::MeasureStartup({{options.tool, {"--simulate"}},
                               {options.minimal, {"--cjk"}},
                               {options.minimal, {}},
                               {options.minimal, {"--captions"}}},
                              options.runs);
    for (const bench::StartupRuns& r : starts) {
        if (!r.error.empty()) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
    }
    const std::string benchDir = options.minimal.substr(0, options.minimal.rfind('/') + 1);
    const std::string floor =
        options.minimalCommands.empty() ? benchDir + "minimal-commands" : options.minimalCommands;
    profile::Profile changed;  // one field from the factory settings, no long text
    changed.idFormat = 5;
    const std::string profile = bench::TemporaryProfileFile(changed);
    const std::vector<bench::ProcessRuns> commands =
        bench::MeasureProcesses(benchDir + "measure-process",
                                {{options.tool, {"--version"}},
                                 {floor, {}},
                                 {options.tool, {"--simulate", "apply", profile}}},
                                options.runs);
    if (!profile.empty()) unlink(profile.c_str());
    for (const bench::ProcessRuns& r : commands) {
        if (!r.error.empty()) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            return 1;
        }
    }
    const bench::PaneMemory pane = bench::MeasurePaneMemory(self, PANE_MEMORY_LINES);
    const bench::BatchMemory batch = bench::MeasureBatchMemory(self, options.readers);
    for (const std::string* error : {&pane.error, &batch.error}) {
        if (!error->empty()) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return 1;
        }
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const bench::IdleCost idle = bench::MeasureIdle(options.idleSeconds, 4);
    std::vector<int> marks = {100, 10000, 100000};
    while (marks.back() > options.lines) marks.pop_back();
    const std::vector<bench::AppendCost> appends = bench::MeasureAppendOutput(marks, 10, 3);
    const std::vector<bench::GbkCost> gbk = bench::MeasureGbk(options.runs, 2000);
    std::vector<bench::OperationCost> operations;
    std::vector<bench::ParallelCost> parallel;
    try {
        operations = bench::MeasureOperations(5, 40);
        parallel = bench::MeasureParallelBatch({1, 4, 16}, std::min(options.runs, PARALLEL_RUNS));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    std::printf(
        "| Measure | reader-config | Reference | Ratio | Target |\n|---|---:|---:|---:|---|\n");
    const std::string runs = " (median of " + std::to_string(options.runs) + ")";
    const bench::StartupRuns& tool = starts[0];
    const char* names[] = {"", "one-label dialog, same font (CJK)", "one-label dialog, Latin",
                           "the tool's captions as plain labels, same window (floor)"};
    for (size_t ref = 1; ref < starts.size(); ++ref) {
        const bench::StartupRuns& r = starts[ref];
        const bool main = ref == 1;
        const double cpu = bench::Median(tool.cpuSeconds) / bench::Median(r.cpuSeconds);
        Row("CPU time to the first paint, offscreen, `--simulate`" + runs,
            bench::FormatSeconds(bench::Median(tool.cpuSeconds)),
            bench::FormatSeconds(bench::Median(r.cpuSeconds)) + " " + names[ref],
            bench::FormatRatio(cpu),
            main ? Target("≤", START_CPU_LIMIT, cpu <= START_CPU_LIMIT) : "");
        const double peak = bench::Median(tool.peakKb) / bench::Median(r.peakKb);
        Row("Peak resident memory (VmHWM) at the first paint",
            Megabytes(bench::Median(tool.peakKb)),
            Megabytes(bench::Median(r.peakKb)) + " " + names[ref], bench::FormatRatio(peak),
            main ? Target("≤", START_PEAK_LIMIT, peak <= START_PEAK_LIMIT) : "");
        const double wall = bench::Median(tool.seconds) / bench::Median(r.seconds);
        Row("Wall time to the first paint (machine load pulls it toward 1)",
            bench::FormatSeconds(bench::Median(tool.seconds)),
            bench::FormatSeconds(bench::Median(r.seconds)) + " " + names[ref],
            bench::FormatRatio(wall));
    }

    const bench::ProcessRuns& version = commands[0];
    const bench::ProcessRuns& bare = commands[1];
    const double versionCpu = bench::Median(version.cpuSeconds) / bench::Median(bare.cpuSeconds);
    Row("`--version`: CPU time of the whole process" + runs,
        bench::FormatSeconds(bench::Median(version.cpuSeconds)),
        bench::FormatSeconds(bench::Median(bare.cpuSeconds)) +
            " a program linking only hidapi and libudev",
        bench::FormatRatio(versionCpu), Target("≤", COMMAND_LIMIT, versionCpu <= COMMAND_LIMIT));
    const double versionPeak = bench::Median(version.peakKb) / bench::Median(bare.peakKb);
    Row("`--version`: peak resident memory", Megabytes(bench::Median(version.peakKb)),
        Megabytes(bench::Median(bare.peakKb)) + " the same program",
        bench::FormatRatio(versionPeak), Target("≤", COMMAND_LIMIT, versionPeak <= COMMAND_LIMIT));
    const double apply = bench::Median(commands[2].seconds);
    Row("`apply --simulate`, one field changed, virtual reader on the real clock: elapsed (CPU " +
            bench::FormatSeconds(bench::Median(commands[2].cpuSeconds)) + ")",
        bench::FormatSeconds(apply), bench::FormatSeconds(APPLY_FLOOR_S) + " the protocol's floor",
        bench::FormatRatio(apply / APPLY_FLOOR_S),
        "≤ floor + 20 ms: " +
            std::string(apply <= APPLY_FLOOR_S + APPLY_SLACK_S ? "met" : "NOT met"));

    const double idleRatio = idle.cpu / idle.templateCpu;
    char idleWhat[160];
    std::snprintf(idleWhat, sizeof idleWhat,
                  "Idle CPU over %.0f s, clock ticking (status line painted %.1f/s vs %.1f/s)",
                  idle.seconds, idle.paints, idle.templatePaints);
    Row(idleWhat, bench::FormatSeconds(idle.cpu),
        bench::FormatSeconds(idle.templateCpu) + " template's clock", bench::FormatRatio(idleRatio),
        Target("≤", IDLE_LIMIT, idleRatio <= IDLE_LIMIT));

    const bench::AppendCost& first = appends.front();
    for (const bench::AppendCost& a : appends) {
        const std::string lines = Thousands(a.line - 9) + "–" + Thousands(a.line);
        Row("`AppendOutput` + the paint it causes, CPU per line, lines " + lines,
            bench::FormatSeconds(a.appendPaint),
            &a == &first ? "" : "lines " + Thousands(first.line - 9) + "–" + Thousands(first.line),
            &a == &first ? "" : bench::FormatRatio(a.appendPaint / first.appendPaint));
    }
    char paneWhat[96];
    std::snprintf(paneWhat, sizeof paneWhat, "Output pane memory per line (%s lines of batch text)",
                  Thousands(pane.lines).c_str());
    char bytes[32];
    std::snprintf(bytes, sizeof bytes, "%.0f bytes", pane.bytesPerLine);
    Row(paneWhat, bytes);
    const double batchRatio = batch.peakKb / BATCH_LIMIT_KB;
    Row("Unattended batch of " + Thousands(batch.readers) +
            " readers, each configured, no Clear (" + Thousands(batch.lines) +
            " lines, pane keeps " + Thousands(batch.paneLines) + "): peak resident memory",
        Megabytes(batch.peakKb), "100 MB", bench::FormatRatio(batchRatio),
        Target("≤", 1.0, batchRatio <= 1.0));

    for (const bench::OperationCost& op : operations) {
        char waits[96];
        std::snprintf(waits, sizeof waits, " (%.0f frames, %.0f ms of device waits)", op.frames,
                      op.waitedMs);
        Row(op.name + ": CPU per operation, headless toolkit" + waits,
            bench::FormatSeconds(op.headless));
        const bool set = op.name == "Set Device";
        const double qtSide = op.qt - op.headless;
        Row(op.name +
                ": Qt-side CPU per operation (Qt toolkit offscreen, event loop included, "
                "less the headless run)",
            bench::FormatSeconds(qtSide), set ? "0.5 ms" : "",
            set ? bench::FormatRatio(qtSide / SET_DEVICE_LIMIT_S) : "",
            set ? Target("≤", 1.0, qtSide <= SET_DEVICE_LIMIT_S) : "");
    }
    for (const bench::GbkCost& g : gbk) {
        Row("GBK conversion, " + g.direction + ", a text of " + std::to_string(g.characters) +
                " characters: CPU per conversion, the tool's table" + runs,
            bench::FormatSeconds(g.table), bench::FormatSeconds(g.iconv) + " glibc's iconv",
            bench::FormatRatio(g.table / g.iconv));
    }
    const bench::ParallelCost& single = parallel.front();
    for (const bench::ParallelCost& c : parallel) {
        const double ratio = c.seconds / single.seconds;
        const bool reference = &c == &single;
        const std::string failed = c.failedRuns ? ", " + std::to_string(c.failedRuns) +
                                                      (c.failedRuns == 1 ? " run" : " runs") +
                                                      " lost an answer"
                                                : "";
        Row("`batch --parallel`, " + std::to_string(c.readers) +
                (c.readers == 1 ? " virtual reader" : " virtual readers") +
                " on the real clock: elapsed (CPU " + bench::FormatSeconds(c.cpuSeconds) + failed +
                ")",
            bench::FormatSeconds(c.seconds), reference ? "" : "1 reader",
            reference ? "" : bench::FormatRatio(ratio),
            reference ? "" : Target("≤", PARALLEL_LIMIT, ratio <= PARALLEL_LIMIT));
    }
    return 0;
}
