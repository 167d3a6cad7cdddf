#pragma once
// Device-change events straight from the kernel's uevent netlink socket (the
// guest runs no udev daemon), only for the end-to-end driver while the tool's
// libudev watcher is not at hand. Platform.cpp is the one place that picks it.

#include "device/DeviceWatcher.h"

namespace e2e {

class NetlinkWatcher : public dev::DeviceWatcher {
  public:
    ~NetlinkWatcher() override { Unregister(); }
    bool Register(dev::DeviceChangeReceiver* receiver) override;
    void Unregister() override;
    // Readable while kernel events wait; -1 while not registered.
    int Fd() const { return m_fd; }
    // Delivers every waiting hidraw event to the receiver.
    void Dispatch();

  private:
    int m_fd = -1;
    dev::DeviceChangeReceiver* m_receiver = nullptr;
};

}  // namespace e2e
