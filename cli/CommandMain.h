#pragma once
// The program without its window, on every platform: help, version, a usage
// error, or one command on this machine's readers or on virtual ones. The
// platform's entry supplies its readers (cli/linux, cli/win32); no GUI
// toolkit and no system header here, so the end-to-end driver runs exactly
// what the tool runs.

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "base/Clock.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "device/DeviceWatcher.h"
#include "device/HidPort.h"
#include "device/ReportTrace.h"

namespace cli {

// --trace FILE ("-": the error stream), for the window and the commands.
class TraceOutput {
  public:
    // Starts the trace; false (said on err) when the file cannot be written.
    // An empty name traces nothing.
    bool Open(const std::string& file, const tk::Clock& clock, std::ostream& err,
              Language language = Language::English);
    // Null while no trace is open.
    dev::ReportTracer* Tracer() { return m_tracer.get(); }
    // After the run: false (said on err) when a line could not be written.
    bool Check(std::ostream& err, Language language = Language::English) const;

  private:
    std::string m_file;
    std::ofstream m_stream;
    std::unique_ptr<dev::TraceWriter> m_tracer;
};

// This machine's readers as the platform reaches them, for one command: the
// HID port, the device notifications, and the pump that waits for them.
class SystemDevices {
  public:
    virtual ~SystemDevices() = default;
    virtual dev::HidPort& Port() = 0;
    virtual dev::DeviceWatcher& Watcher() = 0;
    virtual EventPump& Pump() = 0;
};

// Makes the platform's SystemDevices; called only for a command on real
// readers, never for help, a usage error or --simulate.
using SystemDevicesMaker = std::unique_ptr<SystemDevices> (*)();

// Whether options are for the program without its window.
bool WithoutWindow(const cli::CommandLine& options);

// Runs the program without its window (WithoutWindow(options)); returns its
// exit status. Commands go to the readers makeDevices gives, or with
// --simulate to virtual ones. Without --lang the messages are in the
// language systemLanguage gives.
int RunWithoutWindow(const cli::CommandLine& options, std::ostream& out, std::ostream& err,
                     SystemDevicesMaker makeDevices,
                     Language (*systemLanguage)() = LanguageOfEnvironment);

// Whether the window has no display to open on (Linux: no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM and no -platform): then the program
// says what to do instead (NoDisplayText) and exits with EXIT_USAGE rather
// than let the toolkit abort.
bool NoDisplay(const cli::CommandLine& options);
std::string NoDisplayText(Language language);

}  // namespace cli
