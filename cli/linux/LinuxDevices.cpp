#include "cli/linux/LinuxDevices.h"

#include <poll.h>

#include <cerrno>
#include <iostream>

#include "cli/StopSignal.h"
#include "cli/linux/StopSignals.h"
#include "device/hidapi/HidapiPort.h"
#include "device/udev/UdevWatcher.h"

namespace cli {

namespace {

// Waits on the udev monitor for batch mode (-1: without a time limit).
class UdevPump : public EventPump {
  public:
    explicit UdevPump(dev::UdevWatcher& watcher) : m_watcher(watcher) {}
    bool WaitForDevice(int timeoutMs) override {
        if (m_watcher.Fd() < 0) return false;
        // A stop signal wakes the wait; the batch then sees it noted.
        pollfd fds[2] = {{m_watcher.Fd(), POLLIN, 0}, {StopSignalFd(), POLLIN, 0}};
        for (;;) {
            const int n = ::poll(fds, fds[1].fd < 0 ? 1 : 2, timeoutMs);
            if (n == 0) return true;
            if (n > 0) break;
            if (errno != EINTR) return false;
            if (StopSignalNoted()) return true;
        }
        if (fds[1].revents & POLLIN) return true;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return false;
        m_watcher.Dispatch();
        return true;
    }

  private:
    dev::UdevWatcher& m_watcher;
};

class LinuxDevices : public SystemDevices {
  public:
    dev::HidPort& Port() override { return m_port; }
    dev::DeviceWatcher& Watcher() override { return m_watcher; }
    EventPump& Pump() override { return m_pump; }

  private:
    dev::HidapiPort m_port;
    dev::UdevWatcher m_watcher;
    UdevPump m_pump{m_watcher};
};

}  // namespace

std::unique_ptr<SystemDevices> MakeLinuxDevices() {
    return std::make_unique<LinuxDevices>();
}

int RunLinuxCommand(const cli::CommandLine& options) {
    if (options.command == cli::CommandLine::Command::Batch) CatchStopSignals();
    const int status = RunWithoutWindow(options, std::cout, std::cerr, MakeLinuxDevices);
    EndByNotedStopSignal();
    return status;
}

}  // namespace cli
