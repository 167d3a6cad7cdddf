#pragma once
// What every end-to-end scenario works with: the platform's port and watcher,
// the device program, the results, and the waits that real devices need
// (device creation is asynchronous in the kernel).

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "device/HidLink.h"
#include "e2e/driver/DeviceProcess.h"
#include "e2e/driver/Platform.h"
#include "e2e/driver/Results.h"
#include "reader/SettingsFrame.h"
#include "sim/ReaderModel.h"

namespace e2e {

class Stopwatch {
  public:
    double Ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start)
            .count();
    }

  private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

class Context {
  public:
    Context(Platform& platform, DeviceProcess& device, Results& results)
        : platform(platform), device(device), results(results) {}

    dev::HidPort& Port() { return *platform.port; }
    dev::DeviceWatcher& Watcher() { return *platform.watcher; }
    // The machine's clock, for links and dialogs on the real device.
    tk::Clock& Clock() { return m_clock; }

    // Sends one command to the device program; a refused one is recorded as a
    // failed operation of the scenario.
    bool Device(std::string_view scenario, const std::string& command);
    // Puts the device program into a known state: the model, its delay (-1:
    // the model's own), plugged in and enumerated.
    bool Prepare(std::string_view scenario, const std::string& model, int delayMs = -1);
    // Plugs the device in or pulls it out; with wait, until the enumeration
    // shows it so (creation is asynchronous, removal is not).
    bool Plug(std::string_view scenario, bool wait);
    bool Unplug(std::string_view scenario, bool wait);
    // Polls the enumeration until the reader is (or is no longer) there.
    bool WaitForReader(bool present, int timeoutMs = 10000);
    // The interfaces with the reader's ids, in enumeration order.
    std::vector<dev::HidInterfaceInfo> ReaderInterfaces();
    // Polls the enumeration until exactly count interfaces have the reader's ids.
    bool WaitForReaderInterfaces(size_t count, int timeoutMs = 10000);
    // Hands waiting device events to the registered receiver until done() or
    // the time is up; returns done().
    bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs);
    // Throws away the device events waiting now (none is registered).
    void DropPendingEvents();
    // The output reports the device program has received since it started;
    // a failure is recorded as a failed operation of the scenario.
    bool FramesReceived(std::string_view scenario, long& frames);
    // Waits until answers still due from the last operation (a reader answers
    // both writes of an exchange) have come and gone, as they do between two
    // clicks of a person: the answer delay and a margin.
    static void Settle(int answerDelayMs);

    Platform& platform;
    DeviceProcess& device;
    Results& results;
    std::string deviceProgram;  // to start a second device program

  private:
    bool m_plugged = false;
    tk::SystemClock m_clock;
};

// The tool's exchange over link (present): request written twice, then
// reads answers into the request's buffer, one by one.
struct ExchangeOutcome {
    bool acknowledged = false;   // the buffer holds the acking model's answer
    bool untouched = false;      // the buffer still holds the request
    std::vector<double> stepMs;  // each write, then each read
    double totalMs = 0;
};
ExchangeOutcome Exchange(dev::CHidLink& link, const sim::Frame& request, int reads);

// A request (the reader's lead byte first) whose payload bytes differ from
// each other and from other seeds, so that an answer is told apart from stale
// data.
sim::Frame TestFrame(uint8_t seed);
// Whether payload holds the acking model's answer to request: the request
// with the settings acknowledgement letter in its place.
bool IsAckOf(const uint8_t* payload, const sim::Frame& request);

}  // namespace e2e
