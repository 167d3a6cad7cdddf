// reader-config-bench: measures the tool's start-up, memory, output pane and
// device operations, and prints one table (Markdown).
//
//   reader-config-bench --tool build/reader-config --minimal build/bench/minimal-dialog
//                       [--runs 20] [--lines 100000]

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bench/AppendBench.h"
#include "bench/OperationBench.h"
#include "bench/StartupBench.h"
#include "bench/Stats.h"

namespace {

struct Options {
    std::string tool;
    std::string minimal;
    int runs = 20;
    int lines = 100000;
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
        else if (key == "--lines")
            o->lines = std::atoi(value);
        else
            return false;
    }
    return argc % 2 == 1 && !o->tool.empty() && !o->minimal.empty() && o->runs > 0 &&
           o->lines >= 100;
}

void Row(const std::string& what, const std::string& value, const std::string& reference = "",
         const std::string& ratio = "") {
    std::printf("| %s | %s | %s | %s |\n", what.c_str(), value.c_str(), reference.c_str(),
                ratio.c_str());
}

std::string Megabytes(double kb) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", kb / 1024);
    return text;
}

std::string Thousands(int n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::fprintf(stderr, "usage: %s --tool PATH --minimal PATH [--runs N] [--lines N]\n",
                     argv[0]);
        return 2;
    }

    // Separate processes first, while this one is still small and idle.
    const std::vector<bench::StartupRuns> starts = bench::MeasureStartup(
        {{options.tool, {"--simulate"}}, {options.minimal, {}}}, options.runs);
    const bench::StartupRuns& tool = starts[0];
    const bench::StartupRuns& minimal = starts[1];
    for (const bench::StartupRuns* r : {&tool, &minimal}) {
        if (!r->error.empty()) {
            std::fprintf(stderr, "%s\n", r->error.c_str());
            return 1;
        }
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::vector<int> marks = {100, 10000, 100000};
    while (marks.back() > options.lines) marks.pop_back();
    const std::vector<bench::AppendCost> appends = bench::MeasureAppendOutput(marks, 10, 3);
    std::vector<bench::OperationCost> operations;
    try {
        operations = bench::MeasureOperations(5, 40);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    std::printf("| Measure | reader-config | Reference | Ratio |\n|---|---:|---:|---:|\n");
    const double toolStart = bench::Median(tool.seconds);
    const double minimalStart = bench::Median(minimal.seconds);
    Row("Start to window shown, offscreen, `--simulate` (median of " +
            std::to_string(options.runs) + ")",
        bench::FormatSeconds(toolStart), bench::FormatSeconds(minimalStart) + " minimal dialog",
        bench::FormatRatio(toolStart / minimalStart));
    const double toolKb = bench::Median(tool.residentKb);
    const double minimalKb = bench::Median(minimal.residentKb);
    Row("Resident memory (VmRSS) when shown", Megabytes(toolKb),
        Megabytes(minimalKb) + " minimal dialog", bench::FormatRatio(toolKb / minimalKb));

    const bench::AppendCost& first = appends.front();
    for (const bench::AppendCost& a : appends) {
        const std::string lines = Thousands(a.line - 9) + "–" + Thousands(a.line) + " (per line)";
        Row("`AppendOutput`, lines " + lines, bench::FormatSeconds(a.append),
            &a == &first ? "" : "lines " + Thousands(first.line - 9) + "–" + Thousands(first.line),
            &a == &first ? "" : bench::FormatRatio(a.append / first.append));
    }
    for (const bench::AppendCost& a : appends) {
        const std::string lines = Thousands(a.line - 9) + "–" + Thousands(a.line);
        Row("`AppendOutput` + repaint of the pane, lines " + lines,
            bench::FormatSeconds(a.appendPaint),
            &a == &first ? "" : "lines " + Thousands(first.line - 9) + "–" + Thousands(first.line),
            &a == &first ? "" : bench::FormatRatio(a.appendPaint / first.appendPaint));
    }
    for (const bench::OperationCost& op : operations) {
        char waits[96];
        std::snprintf(waits, sizeof waits, " (%.0f frames, %.0f ms of device waits)", op.frames,
                      op.waitedMs);
        Row(op.name + ": CPU per operation, headless toolkit" + waits,
            bench::FormatSeconds(op.headless));
        Row(op.name + ": CPU per operation, Qt toolkit offscreen, event loop included",
            bench::FormatSeconds(op.qt));
    }
    return 0;
}
