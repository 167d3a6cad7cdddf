#pragma once
// The program without its window, on this machine's readers (hidapi and
// libudev) or on virtual ones: help, version, a usage error, or one command.
// No Qt here, so the end-to-end driver runs exactly what the tool runs.

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/CommandLine.h"
#include "device/ReportTrace.h"
#include "toolkit/Clock.h"

namespace cli {

// --trace FILE ("-": the error stream), for the window and the commands.
class TraceOutput {
  public:
    // Starts the trace; false (said on err) when the file cannot be written.
    // An empty name traces nothing.
    bool Open(const std::string& file, const tk::Clock& clock, std::ostream& err);
    // Null while no trace is open.
    dev::ReportTracer* Tracer() { return m_tracer.get(); }
    // After the run: false (said on err) when a line could not be written.
    bool Check(std::ostream& err) const;

  private:
    std::string m_file;
    std::ofstream m_stream;
    std::unique_ptr<dev::TraceWriter> m_tracer;
};

// Whether options are for the program without its window.
bool WithoutWindow(const app::CommandLine& options);

// Runs the program without its window (WithoutWindow(options)); returns its
// exit status. Commands go to the readers attached (the hidapi port, and the
// udev watcher for batch), or with --simulate to virtual ones.
int RunWithoutWindow(const app::CommandLine& options, std::ostream& out, std::ostream& err);

}  // namespace cli
