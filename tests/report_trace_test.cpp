// Recording reports through the link and replaying them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <streambuf>

#include "device/HidLink.h"
#include "device/ReportTrace.h"
#include "sim/ReplayHidPort.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

namespace {

class Receiver : public dev::DeviceChangeReceiver {
    bool OnDeviceChange(uint32_t, uintptr_t) override { return true; }
};

// Writes two frames, reads an answer and times out on a silent read.
void Exchange(dev::CHidLink& link, uint8_t kind) {
    uint8_t frame[64] = {0x20, kind, 0x41};
    dev::OperationScope scope(link, "Probe");
    link.WriteReport(frame, 64);
    link.ReadReport(frame, 64);
    link.ReadReport(frame, 64);
}

std::string Record() {
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    port.AttachQuietly(std::make_unique<sim::AckingModel>());
    Receiver r;
    dev::CHidLink link(port, port, clock);
    link.m_hNotifyWnd = &r;
    std::ostringstream trace;
    dev::TraceWriter writer(trace, clock);
    link.SetTracer(&writer);
    link.CheckPresence();
    Exchange(link, 0x11);
    return trace.str();
}

TEST(ReportTrace, StepsRoundTrip) {
    dev::TraceStep w{dev::TraceStep::Kind::Write, 1.25, "SetDevice", {0x20, 0x20, 0xFF}};
    dev::TraceStep t{dev::TraceStep::Kind::ReadTimeout, 2, "", {}};
    for (const auto& s : {w, t}) {
        const auto parsed = dev::ParseTraceStep(dev::FormatTraceStep(s));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->kind, s.kind);
        EXPECT_EQ(parsed->operation, s.operation);
        EXPECT_EQ(parsed->bytes, s.bytes);
        EXPECT_DOUBLE_EQ(parsed->seconds, s.seconds);
    }
    EXPECT_EQ(dev::FormatTraceStep(w), "1.250 SetDevice W 20 20 FF");
}

#ifdef READER_CONFIG_TEST_LOCALE_DIR  // compiled by the Linux build
// Qt sets the C library's locale from the environment; where that writes
// "0,362" a trace must still say "0.362", and read it back.
TEST(ReportTrace, DecimalPointIsAPointInEveryLocale) {
    ASSERT_EQ(setenv("LOCPATH", READER_CONFIG_TEST_LOCALE_DIR, 1), 0);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "no de_DE.UTF-8 in " << READER_CONFIG_TEST_LOCALE_DIR;
    char localeForm[16];
    std::snprintf(localeForm, sizeof localeForm, "%.3f", 0.362);
    const std::string line =
        dev::FormatTraceStep({dev::TraceStep::Kind::ReadTimeout, 0.362, "SetDevice", {}});
    const auto parsed = dev::ParseTraceStep("0.362 SetDevice R timeout");
    const auto withComma = dev::ParseTraceStep("0,362 SetDevice R timeout");
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");

    EXPECT_STREQ(localeForm, "0,362");  // the locale is in force
    EXPECT_EQ(line, "0.362 SetDevice R timeout");
    ASSERT_TRUE(parsed);
    EXPECT_DOUBLE_EQ(parsed->seconds, 0.362);
    EXPECT_FALSE(withComma);
}
#endif

// A stream that takes nothing, like a full disk.
class FullDisk : public std::streambuf {
  protected:
    int_type overflow(int_type) override {
        errno = ENOSPC;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize) override {
        errno = ENOSPC;
        return 0;
    }
};

TEST(ReportTrace, WriterReportsALineThatCouldNotBeWritten) {
    sim::VirtualClock clock;
    std::ostringstream good;
    dev::TraceWriter fine(good, clock);
    fine.OnReadTimeout("SetDevice");
    EXPECT_EQ(fine.Error(), 0);

    FullDisk full;
    std::ostream out(&full);
    dev::TraceWriter writer(out, clock);
    EXPECT_EQ(writer.Error(), ENOSPC);  // the header already
    out.clear();
    writer.OnReadTimeout("SetDevice");  // not retried on a stream that failed
    EXPECT_TRUE(out.good());
    EXPECT_EQ(writer.Error(), ENOSPC);
}

TEST(ReportTrace, MalformedLinesAreReportedNotTrusted) {
    const char* bad[] = {"x SetDevice W 20", "0.1 SetDevice Q 20", "0.1 SetDevice W 2G",
                         "0.1 SetDevice W 123", "0.1 SetDevice",
                         // Found by the trace fuzzer: taken for a timeout, the bytes dropped.
                         "0.605 ReadDevice R timeout 00 00 00"};
    for (const char* line : bad) {
        std::string error;
        EXPECT_FALSE(dev::ParseTraceStep(line, &error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    EXPECT_FALSE(dev::ParseTraceStep("# comment"));
    EXPECT_FALSE(dev::ParseTraceStep(""));
}

TEST(ReportTrace, RecordedExchangeReplaysGreen) {
    const std::string trace = Record();
    EXPECT_EQ(trace.rfind(dev::TRACE_HEADER, 0), 0u);
    EXPECT_NE(trace.find("Probe W 20 11 41"), std::string::npos);
    EXPECT_NE(trace.find("Probe R 20 11 59"), std::string::npos);
    EXPECT_NE(trace.find("Probe R timeout"), std::string::npos);

    sim::ReplayHidPort replay(trace);
    Receiver r;
    sim::VirtualClock replayClock;
    dev::CHidLink link(replay, replay, replayClock);
    link.m_hNotifyWnd = &r;
    link.CheckPresence();
    Exchange(link, 0x11);
    EXPECT_EQ(replay.Failure(), "");
    EXPECT_TRUE(replay.Finished());
}

TEST(ReportTrace, ChangedFrameFailsWithStepAndHexDiff) {
    sim::ReplayHidPort replay(Record());
    Receiver r;
    sim::VirtualClock replayClock;
    dev::CHidLink link(replay, replay, replayClock);
    link.m_hNotifyWnd = &r;
    link.CheckPresence();
    Exchange(link, 0x12);
    const std::string& f = replay.Failure();
    EXPECT_NE(f.find("step 1 (Probe): the tool sent a different frame"), std::string::npos) << f;
    EXPECT_NE(f.find("  expected: 20 11 41"), std::string::npos) << f;
    EXPECT_NE(f.find("  sent:     20 12 41"), std::string::npos) << f;
    EXPECT_NE(f.find("  differs:     ^^\n"), std::string::npos) << f;
}

TEST(ReportTrace, FailedTransfersAreTracedWithWhyAndReplay) {
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    sim::VirtualDevice& first = port.AttachQuietly(std::make_unique<sim::AckingModel>());
    dev::CHidLink link(port, port, clock);
    std::ostringstream trace;
    dev::TraceWriter writer(trace, clock);
    link.SetTracer(&writer);
    link.CheckPresence();
    auto run = [](dev::CHidLink& l, const std::function<void()>& swap) {
        dev::OperationScope scope(l, "Probe");
        dev::DeviceBindingScope binding(l);
        uint8_t frame[64] = {0x20, 0x11};
        l.WriteReport(frame, 64);
        l.ReadReport(frame, 64);
        swap();  // another reader in the first one's place
        l.WriteReport(frame, 64);
        l.ReadReport(frame, 64);
    };
    run(link, [&] {
        port.DetachQuietly(first);
        port.AttachQuietly(std::make_unique<sim::AckingModel>());
    });
    const std::string text = trace.str();
    EXPECT_NE(text.find("Probe W gone\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Probe R gone\n"), std::string::npos) << text;

    const auto parsed = dev::ParseTraceStep("0.200 SetDevice W timeout");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->kind, dev::TraceStep::Kind::WriteFailed);
    EXPECT_EQ(parsed->reason, "timeout");
    EXPECT_EQ(dev::FormatTraceStep(*parsed), "0.200 SetDevice W timeout");
    EXPECT_FALSE(dev::ParseTraceStep("0.200 SetDevice R error 00"));

    sim::ReplayHidPort replay(text);
    dev::CHidLink again(replay, replay, clock);
    again.CheckPresence();
    run(again, [] {});
    EXPECT_EQ(replay.Failure(), "");
    EXPECT_TRUE(replay.Finished());
}

// Found by the trace fuzzer: a read recorded without bytes replays as zeros.
TEST(ReportTrace, ReadRecordedWithoutBytesReplaysAsZeros) {
    sim::ReplayHidPort replay("0.000 Probe W 20\n0.005 Probe R\n");
    ASSERT_EQ(replay.Failure(), "");
    auto handle = replay.Open("replay", nullptr);
    const uint8_t report[] = {0x00, 0x20};
    ASSERT_TRUE(handle->Write(report, sizeof report, 200));
    uint8_t answer[65];
    std::fill(std::begin(answer), std::end(answer), 0xAA);
    EXPECT_EQ(handle->Read(answer, sizeof answer, 600), 65);
    EXPECT_TRUE(
        std::all_of(std::begin(answer), std::end(answer), [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(replay.Finished());
}

}  // namespace
