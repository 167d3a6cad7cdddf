#include "sim/ReplayHidPort.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace sim {

class ReplayHandle : public dev::HidHandle {
  public:
    explicit ReplayHandle(ReplayHidPort& port) : m_port(port) {}
    size_t InputReportLength() const override { return 65; }
    size_t OutputReportLength() const override { return 65; }
    bool Write(const uint8_t* report, size_t length, int) override {
        return length > 0 && m_port.Write(report + 1, length - 1);
    }
    int Read(uint8_t* report, size_t capacity, int) override {
        if (capacity < 2) return 0;
        const int n = m_port.Read(report + 1, capacity - 1);
        if (n <= 0) return n;
        report[0] = 0;
        return n + 1;
    }

  private:
    ReplayHidPort& m_port;
};

std::string HexDiff(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual) {
    std::string marks;
    const size_t n = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < n; ++i) {
        const bool same = i < expected.size() && i < actual.size() && expected[i] == actual[i];
        marks += (i ? " " : "");
        marks += same ? "  " : "^^";
    }
    while (!marks.empty() && marks.back() == ' ') marks.pop_back();
    return "  expected: " + dev::HexBytes(expected.data(), expected.size()) +
           "\n  sent:     " + dev::HexBytes(actual.data(), actual.size()) +
           "\n  differs:  " + marks + "\n";
}

ReplayHidPort::ReplayHidPort(const std::string& traceText) {
    std::istringstream in(traceText);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::string error;
        if (auto step = dev::ParseTraceStep(line, &error))
            m_steps.push_back(*step);
        else if (!error.empty())
            Fail("trace line " + std::to_string(lineNo) + ": " + error);
    }
}

void ReplayHidPort::Fail(const std::string& message) {
    if (m_failure.empty()) m_failure = message;
}

std::vector<dev::HidInterfaceInfo> ReplayHidPort::Enumerate() {
    return {{"replay", 0x016C, 0x04F3}};
}

std::unique_ptr<dev::HidHandle> ReplayHidPort::Open(const std::string&, dev::OpenError* error) {
    if (error) *error = dev::OpenError::None;
    return std::make_unique<ReplayHandle>(*this);
}

void ReplayHidPort::SkipWriteFailures() {
    while (m_next < m_steps.size() && m_steps[m_next].kind == dev::TraceStep::Kind::WriteFailed)
        ++m_next;
}

bool ReplayHidPort::Write(const uint8_t* payload, size_t count) {
    if (!m_failure.empty()) return false;
    const std::vector<uint8_t> sent(payload, payload + count);
    const std::string step = "step " + std::to_string(m_next + 1);
    if (m_next >= m_steps.size()) {
        Fail(step + ": the tool sent a frame after the end of the trace\n  sent:     " +
             dev::HexBytes(sent.data(), sent.size()) + "\n");
        return false;
    }
    const dev::TraceStep& expected = m_steps[m_next];
    // A write that found no device when it was recorded fails here too.
    if (expected.kind == dev::TraceStep::Kind::WriteFailed) {
        ++m_next;
        return false;
    }
    if (expected.kind != dev::TraceStep::Kind::Write) {
        Fail(step + " (" + expected.operation +
             "): the tool wrote where the trace reads\n  sent:     " +
             dev::HexBytes(sent.data(), sent.size()) + "\n");
        return false;
    }
    if (expected.bytes != sent) {
        Fail(step + " (" + expected.operation + "): the tool sent a different frame\n" +
             HexDiff(expected.bytes, sent));
        return false;
    }
    ++m_next;
    // The recorded write failed: so does this one.
    if (m_next < m_steps.size() && m_steps[m_next].kind == dev::TraceStep::Kind::WriteFailed) {
        ++m_next;
        return false;
    }
    return true;
}

int ReplayHidPort::Read(uint8_t* payload, size_t capacity) {
    if (!m_failure.empty()) return 0;
    SkipWriteFailures();
    const std::string step = "step " + std::to_string(m_next + 1);
    if (m_next >= m_steps.size()) {
        Fail(step + ": the tool read after the end of the trace\n");
        return 0;
    }
    const dev::TraceStep& expected = m_steps[m_next];
    if (expected.kind == dev::TraceStep::Kind::Write) {
        Fail(step + " (" + expected.operation + "): the tool read where the trace writes\n" +
             "  expected: " + dev::HexBytes(expected.bytes.data(), expected.bytes.size()) + "\n");
        return 0;
    }
    ++m_next;
    if (expected.kind == dev::TraceStep::Kind::ReadTimeout) return 0;
    if (expected.kind == dev::TraceStep::Kind::ReadFailed) return -1;
    const size_t n = std::min(capacity, expected.bytes.size());
    // A recorded read may hold no bytes at all (a one-byte input report).
    std::copy_n(expected.bytes.begin(), n, payload);
    if (capacity > n) std::memset(payload + n, 0, capacity - n);
    return static_cast<int>(capacity);
}

}  // namespace sim
