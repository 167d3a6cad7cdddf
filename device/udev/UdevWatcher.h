#pragma once
// DeviceWatcher over a libudev monitor. The monitor's file descriptor joins
// the GUI event loop from outside (the toolkit watches Fd() and calls
// Dispatch() when it is readable), so this adapter needs no toolkit.

#include "device/DeviceWatcher.h"

struct udev;
struct udev_monitor;

namespace dev {

class UdevWatcher : public DeviceWatcher {
  public:
    // Udev: events after the udev daemon has processed them (device nodes
    // exist and have their permissions). Kernel: the kernel's own uevents,
    // for systems without a udev daemon; nodes may not be ready yet.
    // Running: Udev while a udev daemon runs, else Kernel (a container or a
    // minimal system, where no udev event ever comes).
    enum class Source { Udev, Kernel, Running };

    // Starts listening at once for HID interface nodes and USB devices;
    // events before Register are dropped.
    explicit UdevWatcher(Source source = Source::Running);
    ~UdevWatcher() override;
    UdevWatcher(const UdevWatcher&) = delete;
    UdevWatcher& operator=(const UdevWatcher&) = delete;

    // The monitor's non-blocking descriptor to watch for reading; -1 when no
    // monitor could be set up.
    int Fd() const;
    // Reads every pending event and delivers its device-change events to the
    // receiver, if one is registered. Returns at once when nothing is pending.
    void Dispatch();

    // False when there is no monitor; otherwise true, replacing any receiver.
    bool Register(DeviceChangeReceiver* receiver) override;
    void Unregister() override { m_receiver = nullptr; }

  private:
    struct udev* m_udev = nullptr;
    struct udev_monitor* m_monitor = nullptr;
    DeviceChangeReceiver* m_receiver = nullptr;
};

}  // namespace dev
