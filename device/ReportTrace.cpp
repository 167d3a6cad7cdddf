#include "device/ReportTrace.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

namespace dev {

std::string HexBytes(const uint8_t* bytes, size_t count) {
    std::string out;
    out.reserve(count * 3);
    char hex[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
        out += hex;
    }
    return out;
}

bool ParseHexByte(const std::string& word, uint8_t* out) {
    if (word.size() != 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
        !std::isxdigit(static_cast<unsigned char>(word[1])))
        return false;
    *out = static_cast<uint8_t>(std::strtoul(word.c_str(), nullptr, 16));
    return true;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    for (std::string word; in >> word;) {
        uint8_t byte = 0;
        if (!ParseHexByte(word, &byte)) return std::nullopt;
        bytes.push_back(byte);
    }
    return bytes;
}

namespace {

// The reasons a failed transfer is traced with (TransferStatusName).
bool IsFailureReason(const std::string& word) {
    for (TransferStatus s : {TransferStatus::NotPresent, TransferStatus::NotFound,
                             TransferStatus::Timeout, TransferStatus::Error, TransferStatus::Gone})
        if (word == TransferStatusName(s)) return true;
    return false;
}

}  // namespace

std::string FormatTraceStep(const TraceStep& step) {
    // The classic locale writes "." even where the user's locale writes
    // "0,362" (the floating-point to_chars is missing from some standard
    // libraries, WebAssembly's among them).
    std::ostringstream time;
    time.imbue(std::locale::classic());
    time << std::fixed << std::setprecision(3) << step.seconds;
    const std::string seconds = time.str();
    std::string line = seconds + " " + (step.operation.empty() ? "-" : step.operation);
    switch (step.kind) {
        case TraceStep::Kind::Write:
            return line + " W " + HexBytes(step.bytes.data(), step.bytes.size());
        case TraceStep::Kind::Read:
            return line + " R " + HexBytes(step.bytes.data(), step.bytes.size());
        case TraceStep::Kind::ReadTimeout:
            return line + " R timeout";
        case TraceStep::Kind::WriteFailed:
            return line + " W " + step.reason;
        case TraceStep::Kind::ReadFailed:
            return line + " R " + step.reason;
    }
    return line;
}

std::optional<TraceStep> ParseTraceStep(const std::string& line, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<TraceStep> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (error) error->clear();
    std::istringstream in(line);
    std::string time, op, dir;
    if (!(in >> time) || time[0] == '#') return std::nullopt;
    TraceStep step;
    // The classic locale reads "." whatever the user's locale; the whole
    // word must be the number.
    std::istringstream number(time);
    number.imbue(std::locale::classic());
    number >> step.seconds;
    if (!number || number.peek() != std::char_traits<char>::eof() || !std::isfinite(step.seconds))
        return fail("bad time '" + time + "'");
    if (!(in >> op >> dir)) return fail("missing operation or direction");
    step.operation = op == "-" ? "" : op;
    if (dir == "W")
        step.kind = TraceStep::Kind::Write;
    else if (dir == "R")
        step.kind = TraceStep::Kind::Read;
    else
        return fail("direction must be W or R, not '" + dir + "'");
    std::string word;
    bool first = true;
    while (in >> word) {
        if (first && IsFailureReason(word)) {
            if (step.kind == TraceStep::Kind::Read && word == "timeout") {
                step.kind = TraceStep::Kind::ReadTimeout;
            } else {
                step.kind = step.kind == TraceStep::Kind::Write ? TraceStep::Kind::WriteFailed
                                                                : TraceStep::Kind::ReadFailed;
                step.reason = word;
            }
            if (in >> word) return fail("nothing may follow '" + step.reason + "'");
            return step;
        }
        first = false;
        uint8_t byte = 0;
        if (!ParseHexByte(word, &byte)) return fail("bad byte '" + word + "'");
        step.bytes.push_back(byte);
    }
    return step;
}

TraceWriter::TraceWriter(std::ostream& out, const tk::Clock& clock)
    : m_out(out), m_clock(clock), m_startMs(clock.NowMs()) {
    WriteLine(TRACE_HEADER);
}

void TraceWriter::WriteLine(const std::string& line) {
    std::lock_guard lock(m_mutex);
    if (m_error) return;  // the stream is broken: later lines would be lost too
    errno = 0;
    m_out << line << '\n';
    m_out.flush();
    if (!m_out) m_error = errno ? errno : EIO;
}

void TraceWriter::Write(TraceStep::Kind kind, const std::string& operation, const uint8_t* bytes,
                        size_t count) {
    TraceStep step;
    step.kind = kind;
    step.seconds = static_cast<double>(m_clock.NowMs() - m_startMs) / 1000.0;
    step.operation = operation;
    if (bytes) step.bytes.assign(bytes, bytes + count);
    WriteLine(FormatTraceStep(step));
}

void TraceWriter::OnReportWritten(const std::string& operation, const uint8_t* payload,
                                  size_t count) {
    Write(TraceStep::Kind::Write, operation, payload, count);
}

void TraceWriter::OnReportRead(const std::string& operation, const uint8_t* payload, size_t count) {
    Write(TraceStep::Kind::Read, operation, payload, count);
}

void TraceWriter::OnReadTimeout(const std::string& operation) {
    Write(TraceStep::Kind::ReadTimeout, operation, nullptr, 0);
}

void TraceWriter::OnTransferFailed(const std::string& operation, bool write,
                                   TransferStatus status) {
    TraceStep step;
    step.kind = write ? TraceStep::Kind::WriteFailed : TraceStep::Kind::ReadFailed;
    step.seconds = static_cast<double>(m_clock.NowMs() - m_startMs) / 1000.0;
    step.operation = operation;
    step.reason = TransferStatusName(status);
    WriteLine(FormatTraceStep(step));
}

}  // namespace dev
