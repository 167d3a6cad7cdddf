#include "device/udev/UdevWatcher.h"

#include <libudev.h>

#include "device/DeviceEvents.h"

namespace dev {

UdevWatcher::UdevWatcher(Source source) {
    m_udev = udev_new();
    if (!m_udev) return;
    if (source == Source::Running) {
        udev_queue* queue = udev_queue_new(m_udev);
        source = queue && udev_queue_get_udev_is_active(queue) ? Source::Udev : Source::Kernel;
        if (queue) udev_queue_unref(queue);
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, source == Source::Kernel ? "kernel" : "udev");
    if (!m_monitor) return;
    const bool ok =
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) >= 0 &&
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", "usb_device") >= 0 &&
        udev_monitor_enable_receiving(m_monitor) >= 0;
    if (!ok) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
}

UdevWatcher::~UdevWatcher() {
    if (m_monitor) udev_monitor_unref(m_monitor);
    if (m_udev) udev_unref(m_udev);
}

int UdevWatcher::Fd() const {
    return m_monitor ? udev_monitor_get_fd(m_monitor) : -1;
}

void UdevWatcher::Dispatch() {
    if (!m_monitor) return;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* subsystem = udev_device_get_subsystem(device);
        const char* action = udev_device_get_action(device);
        const std::vector<uint32_t> events =
            DeviceEventsFor(subsystem ? subsystem : "", action ? action : "");
        udev_device_unref(device);
        // The receiver may unregister while it handles an event.
        for (uint32_t event : events)
            if (m_receiver) m_receiver->OnDeviceChange(event, 0);
    }
}

bool UdevWatcher::Register(DeviceChangeReceiver* receiver) {
    if (!m_monitor) return false;
    m_receiver = receiver;
    return true;
}

}  // namespace dev
