#include "cli/linux/LinuxDevices.h"

#include <poll.h>

#include <cerrno>

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
        // A stop asked for by a signal ends the wait at once (StopSignals.h).
        pollfd pfd[2] = {{m_watcher.Fd(), POLLIN, 0}, {StopEventFd(), POLLIN, 0}};
        for (;;) {
            if (StopRequested()) return true;
            const int n = ::poll(pfd, pfd[1].fd >= 0 ? 2 : 1, timeoutMs);
            if (n == 0) return true;
            if (n > 0) break;
            if (errno != EINTR) return false;
        }
        if (pfd[1].revents) return true;
        if (pfd[0].revents & (POLLERR | POLLNVAL)) return false;
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

}  // namespace cli
