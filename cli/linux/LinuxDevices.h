#pragma once
// The commands' readers on Linux: the hidapi port, the udev watcher, and a
// pump that polls the udev monitor.

#include <memory>

#include "cli/CommandMain.h"

namespace cli {

// A SystemDevicesMaker. The udev monitor may have failed to start: then the
// pump says no event can come, and commands that wait for none still run.
std::unique_ptr<SystemDevices> MakeLinuxDevices();

// Runs a command on the system's readers with the standard streams; a batch
// stopped by SIGINT or SIGTERM reports its readers, then ends the process by
// that signal.
int RunLinuxCommand(const cli::CommandLine& options);

}  // namespace cli
