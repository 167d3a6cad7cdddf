#pragma once
// The commands of the command line (read, apply, verify, batch, list). Each
// calls the reader core the window calls, so the bytes on the wire are the
// window's; results are put into the command line's own texts, and notices
// from the middle of an operation go to standard error.

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "base/Clock.h"
#include "cli/CommandLine.h"
#include "cli/Texts.h"
#include "device/DeviceWatcher.h"
#include "device/HidLink.h"
#include "device/HidPort.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

namespace cli {

// The name messages start with.
inline constexpr const char* PROGRAM = "reader-config";

// Waits for device arrival and removal: the events go to whoever registered
// with the watcher (the dialog) before WaitForDevice returns.
class EventPump {
  public:
    virtual ~EventPump() = default;
    // Blocks until some device events have been delivered, or timeoutMs has
    // passed (-1: no limit; a parallel batch looks at its finished devices
    // in between); false when no event can come any more.
    virtual bool WaitForDevice(int timeoutMs) = 0;
    // The batch is done with the device at path (a person pulls it out).
    virtual void Finished(const std::string& path) { (void)path; }
};

// No device event ever comes: for commands that wait for none, and for a
// dialog tied to one device for its life (whose going away fails its transfers).
class NoDeviceEvents : public EventPump, public dev::DeviceWatcher {
  public:
    bool WaitForDevice(int) override { return false; }
    bool Register(dev::DeviceChangeReceiver*) override { return true; }
    void Unregister() override {}
};

// Where one device's session of a parallel batch runs: the port it reaches
// its device through and the clock its waits pass on.
class SessionSpace {
  public:
    virtual ~SessionSpace() = default;
    virtual dev::HidPort& Port() = 0;
    virtual tk::Clock& Clock() = 0;
};

// Where a command runs: the device access (today the one reader the link
// finds; a device choice would narrow the port), time, and the output.
struct Environment {
    dev::HidPort& port;
    dev::DeviceWatcher& watcher;
    tk::Clock& clock;
    EventPump& pump;
    std::ostream& out;
    std::ostream& err;
    dev::ReportTracer* tracer = nullptr;
    // A space of its own for each device of a parallel batch, made when its
    // session starts; without it the sessions share port and clock (real
    // devices on the real clock).
    std::function<std::unique_ptr<SessionSpace>()> newSessionSpace = {};
    // Where a profile named "-" is read from; null: the process's standard input.
    std::istream* in = nullptr;
    // The language of the messages, and how much detail -v asks for (0:
    // none); RunCommand sets both from the options.
    Language language = Language::English;
    int verbose = 0;
};

// Spaces for sessions on virtual devices: each on a fork of clock, a
// timeline of its own from the moment it starts.
std::function<std::unique_ptr<SessionSpace>()> VirtualSessionSpaces(sim::VirtualHidPort& port,
                                                                    sim::VirtualClock& clock);

// Runs options.command (not None); returns the exit status (cli::EXIT_*).
int RunCommand(const cli::CommandLine& options, Environment& env);

// Runs options.command against virtual devices of options.simulated on
// clock: one of each kind attached at start; batch pulls the first and plugs
// a fresh one in after each.
int RunSimulated(const cli::CommandLine& options, tk::Clock& clock, std::ostream& out,
                 std::ostream& err, dev::ReportTracer* tracer = nullptr,
                 std::istream* in = nullptr);

}  // namespace cli
