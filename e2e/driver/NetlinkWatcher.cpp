#include "e2e/driver/NetlinkWatcher.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include "e2e/driver/Uevent.h"

namespace e2e {

bool NetlinkWatcher::Register(dev::DeviceChangeReceiver* receiver) {
    Unregister();
    m_fd = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (m_fd < 0) return false;
    sockaddr_nl addr{};
    addr.nl_family = AF_NETLINK;
    addr.nl_groups = 1;  // the kernel's own messages
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        Unregister();
        return false;
    }
    m_receiver = receiver;
    return true;
}

void NetlinkWatcher::Unregister() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
    m_receiver = nullptr;
}

void NetlinkWatcher::Dispatch() {
    char message[8192];
    while (m_fd >= 0) {
        const ssize_t n = recv(m_fd, message, sizeof message, 0);
        if (n <= 0) return;
        for (uint32_t event : EventsForUevent(message, static_cast<size_t>(n))) {
            // The receiver may unregister while handling an event.
            if (!m_receiver) return;
            m_receiver->OnDeviceChange(event, 0);
        }
    }
}

}  // namespace e2e
