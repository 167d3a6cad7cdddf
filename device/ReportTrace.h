#pragma once
// Traces of HID reports: one line per report written or read, readable by a
// person and replayable by sim::ReplayHidPort.
//
//   # reader-config HID trace 1
//   0.000 SetDevice W 20 20 00 ...      (64 bytes in hex)
//   0.005 SetDevice R 20 20 59 ...
//   0.605 SetDevice R timeout
//   0.610 SetDevice W gone              (a transfer that failed, and why)
//
// Time is seconds since the trace started; the operation is the dialog
// operation that caused the transfer ("-" when none is named).

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "device/HidLink.h"

namespace dev {

inline constexpr const char* TRACE_HEADER = "# reader-config HID trace 1";

struct TraceStep {
    // WriteFailed and ReadFailed carry the reason of a failed transfer other
    // than a read timeout: TransferStatusName() of it ("timeout" only for writes).
    enum class Kind { Write, Read, ReadTimeout, WriteFailed, ReadFailed };
    Kind kind = Kind::Write;
    double seconds = 0;
    std::string operation;
    std::vector<uint8_t> bytes;  // empty for ReadTimeout and the failures
    std::string reason = {};     // WriteFailed, ReadFailed
};

std::string FormatTraceStep(const TraceStep& step);
// nullopt for a comment, a blank line or a line that is not a step; *error
// (when given) says what was wrong with a malformed step line.
std::optional<TraceStep> ParseTraceStep(const std::string& line, std::string* error = nullptr);
// "20 FD 07": the bytes as two hex digits each, separated by spaces.
std::string HexBytes(const uint8_t* bytes, size_t count);
// One byte as HexBytes writes it; false for anything else.
bool ParseHexByte(const std::string& word, uint8_t* out);
// What HexBytes wrote (any spacing, either case); nullopt when a word is no byte.
std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text);

// Writes a trace of every report that goes through a CHidLink, one flushed
// line at a time, so a write that fails is known at once. Links on several
// threads may share one writer: each line is written whole.
class TraceWriter : public ReportTracer {
  public:
    TraceWriter(std::ostream& out, const tk::Clock& clock);
    // 0 while every line has been written; otherwise the errno of the first
    // line that could not be (EIO when the stream gave none), after which
    // nothing more is written.
    int Error() const { return m_error.load(); }
    void OnReportWritten(const std::string& operation, const uint8_t* payload,
                         size_t count) override;
    void OnReportRead(const std::string& operation, const uint8_t* payload, size_t count) override;
    void OnReadTimeout(const std::string& operation) override;
    void OnTransferFailed(const std::string& operation, bool write, TransferStatus status) override;

  private:
    void Write(TraceStep::Kind kind, const std::string& operation, const uint8_t* bytes,
               size_t count);
    void WriteLine(const std::string& line);
    std::ostream& m_out;
    const tk::Clock& m_clock;
    int64_t m_startMs;
    std::mutex m_mutex;
    std::atomic<int> m_error = 0;
};

// Names the device in each line: "/dev/hidraw3:SetDevice" for the operation,
// so that the lines of several readers can be told apart. device() is asked
// at each report; no name leaves the operation as it is.
class DeviceTracer : public ReportTracer {
  public:
    DeviceTracer(ReportTracer& inner, std::function<std::string()> device)
        : m_inner(inner), m_device(std::move(device)) {}
    void OnReportWritten(const std::string& op, const uint8_t* p, size_t n) override {
        m_inner.OnReportWritten(Named(op), p, n);
    }
    void OnReportRead(const std::string& op, const uint8_t* p, size_t n) override {
        m_inner.OnReportRead(Named(op), p, n);
    }
    void OnReadTimeout(const std::string& op) override { m_inner.OnReadTimeout(Named(op)); }
    void OnReportDropped(const std::string& op, const uint8_t* p, size_t n) override {
        m_inner.OnReportDropped(Named(op), p, n);
    }
    void OnTransferFailed(const std::string& op, bool write, TransferStatus status) override {
        m_inner.OnTransferFailed(Named(op), write, status);
    }

  private:
    std::string Named(const std::string& op) const {
        const std::string device = m_device();
        return device.empty() ? op : device + ":" + op;
    }
    ReportTracer& m_inner;
    std::function<std::string()> m_device;
};

}  // namespace dev
