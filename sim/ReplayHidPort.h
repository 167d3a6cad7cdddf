#pragma once
// A HidPort that plays a recorded trace back: one reader is present; every
// report the tool writes must equal the next recorded write, and every read
// gets the next recorded answer (or times out where the recording did). The
// first difference is kept with the step and a hex diff, and from then on
// the reader stays silent.

#include <string>
#include <vector>

#include "device/DeviceWatcher.h"
#include "device/HidPort.h"
#include "device/ReportTrace.h"

namespace sim {

class ReplayHidPort : public dev::HidPort, public dev::DeviceWatcher {
  public:
    // Parses the trace text; malformed lines are reported by Failure().
    explicit ReplayHidPort(const std::string& traceText);

    std::vector<dev::HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<dev::HidHandle> Open(const std::string& path, dev::OpenError* error) override;
    bool Register(dev::DeviceChangeReceiver*) override { return true; }
    void Unregister() override {}

    // Empty while everything matched; otherwise what went wrong first.
    const std::string& Failure() const { return m_failure; }
    // True when every recorded step has been played.
    bool Finished() const { return m_next == m_steps.size(); }
    size_t StepsPlayed() const { return m_next; }
    size_t StepCount() const { return m_steps.size(); }

  private:
    friend class ReplayHandle;
    bool Write(const uint8_t* payload, size_t count);
    int Read(uint8_t* payload, size_t capacity);
    void Fail(const std::string& message);
    void SkipWriteFailures();

    std::vector<dev::TraceStep> m_steps;
    size_t m_next = 0;
    std::string m_failure;
};

// "expected / sent / differs" lines with a caret under each differing byte.
std::string HexDiff(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual);

}  // namespace sim
