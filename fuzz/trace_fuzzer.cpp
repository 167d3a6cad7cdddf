// HID traces on arbitrary text: every line the parser takes is written back
// as a line that parses to the same step, and a trace without errors plays
// back through sim::ReplayHidPort exactly as recorded.

#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "Check.h"
#include "device/ReportTrace.h"
#include "sim/ReplayHidPort.h"

namespace {

bool SameStep(const dev::TraceStep& a, const dev::TraceStep& b) {
    return a.kind == b.kind && a.operation == b.operation && a.bytes == b.bytes;
}

// Plays the steps against a handle of the replay port, as a link would.
void PlayBack(const std::string& text, const std::vector<dev::TraceStep>& steps) {
    sim::ReplayHidPort port(text);
    FUZZ_CHECK(port.Failure().empty());
    FUZZ_CHECK(port.StepCount() == steps.size());
    const auto interfaces = port.Enumerate();
    FUZZ_CHECK(!interfaces.empty());
    auto handle = port.Open(interfaces.front().path, nullptr);
    FUZZ_CHECK(handle != nullptr);
    for (const dev::TraceStep& step : steps) {
        if (step.kind == dev::TraceStep::Kind::Write) {
            std::vector<uint8_t> report(1, 0);
            report.insert(report.end(), step.bytes.begin(), step.bytes.end());
            FUZZ_CHECK(handle->Write(report.data(), report.size(), 200));
            continue;
        }
        std::array<uint8_t, 65> report{};
        const int got = handle->Read(report.data(), report.size(), 600);
        if (step.kind == dev::TraceStep::Kind::ReadTimeout) {
            FUZZ_CHECK(got == 0);
            continue;
        }
        FUZZ_CHECK(got == static_cast<int>(report.size()));
        for (size_t i = 0; i + 1 < report.size(); ++i)
            FUZZ_CHECK(report[i + 1] == (i < step.bytes.size() ? step.bytes[i] : 0));
    }
    FUZZ_CHECK(port.Failure().empty());
    FUZZ_CHECK(port.Finished());
    // One more transfer than recorded is a failure, reported, not a crash.
    std::array<uint8_t, 65> extra{};
    (void)handle->Read(extra.data(), extra.size(), 600);
    FUZZ_CHECK(!port.Failure().empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(text);
    std::string line;
    std::vector<dev::TraceStep> steps;
    bool malformed = false;
    while (std::getline(lines, line)) {
        std::string error;
        const auto step = dev::ParseTraceStep(line, &error);
        if (!step) {
            malformed = malformed || !error.empty();
            continue;
        }
        FUZZ_CHECK(error.empty());
        steps.push_back(*step);
        std::string again;
        const auto reparsed = dev::ParseTraceStep(dev::FormatTraceStep(*step), &again);
        FUZZ_CHECK(reparsed && SameStep(*step, *reparsed));
    }
    if (!malformed)
        PlayBack(text, steps);
    else
        FUZZ_CHECK(!sim::ReplayHidPort(text).Failure().empty());
    return 0;
}
