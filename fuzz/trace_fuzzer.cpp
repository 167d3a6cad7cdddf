// HID traces on arbitrary text: every line the parser takes is written back
// as a line that parses to the same step, and a trace without errors plays
// back through sim::ReplayHidPort exactly as recorded, failed transfers
// ("W gone", "R error") failing again.

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
    return a.kind == b.kind && a.operation == b.operation && a.bytes == b.bytes &&
           a.reason == b.reason;
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
    using Kind = dev::TraceStep::Kind;
    for (size_t i = 0; i < steps.size(); ++i) {
        const dev::TraceStep& step = steps[i];
        if (step.kind == Kind::Write || step.kind == Kind::WriteFailed) {
            // A write recorded as failed fails whatever it sends, and so does a
            // recorded write whose failure follows it.
            std::vector<uint8_t> report(1, 0);
            report.insert(report.end(), step.bytes.begin(), step.bytes.end());
            bool fails = step.kind == Kind::WriteFailed;
            if (!fails && i + 1 < steps.size() && steps[i + 1].kind == Kind::WriteFailed) {
                fails = true;
                ++i;
            }
            FUZZ_CHECK(handle->Write(report.data(), report.size(), 200) == !fails);
            continue;
        }
        std::array<uint8_t, 65> report{};
        const int got = handle->Read(report.data(), report.size(), 600);
        if (step.kind == Kind::ReadTimeout) {
            FUZZ_CHECK(got == 0);
            continue;
        }
        if (step.kind == Kind::ReadFailed) {
            FUZZ_CHECK(got < 0);
            continue;
        }
        FUZZ_CHECK(got == static_cast<int>(report.size()));
        for (size_t k = 0; k + 1 < report.size(); ++k)
            FUZZ_CHECK(report[k + 1] == (k < step.bytes.size() ? step.bytes[k] : 0));
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
        const std::string written = dev::FormatTraceStep(*step);
        const auto reparsed = dev::ParseTraceStep(written, &again);
        FUZZ_CHECK(reparsed && SameStep(*step, *reparsed));
        FUZZ_CHECK(dev::FormatTraceStep(*reparsed) == written);
    }
    if (!malformed)
        PlayBack(text, steps);
    else
        FUZZ_CHECK(!sim::ReplayHidPort(text).Failure().empty());
    return 0;
}
