#include "e2e/uhid/UhidDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace e2e {

UhidDevice::UhidDevice() {
    m_fd = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (m_fd < 0) m_error = std::string("cannot open /dev/uhid: ") + std::strerror(errno);
}

UhidDevice::~UhidDevice() {
    Destroy();
    if (m_fd >= 0) close(m_fd);
}

bool UhidDevice::Send(const uhid_event& ev, const char* what) {
    // uhid takes exactly one event per write.
    const ssize_t n = write(m_fd, &ev, sizeof ev);
    if (n == static_cast<ssize_t>(sizeof ev)) return true;
    m_error = std::string(what) + " failed: " + (n < 0 ? std::strerror(errno) : "short write");
    return false;
}

bool UhidDevice::Create(const UhidIdentity& id, std::span<const uint8_t> descriptor) {
    if (!IsOpen() || m_created) {
        m_error = m_created ? "the device exists already" : m_error;
        return false;
    }
    uhid_event ev{};
    ev.type = UHID_CREATE2;
    uhid_create2_req& req = ev.u.create2;
    std::strncpy(reinterpret_cast<char*>(req.name), id.name.c_str(), sizeof req.name - 1);
    std::strncpy(reinterpret_cast<char*>(req.uniq), id.uniq.c_str(), sizeof req.uniq - 1);
    if (descriptor.size() > sizeof req.rd_data) {
        m_error = "report descriptor too long";
        return false;
    }
    std::copy(descriptor.begin(), descriptor.end(), req.rd_data);
    req.rd_size = static_cast<__u16>(descriptor.size());
    req.bus = id.bus;
    req.vendor = id.vendor;
    req.product = id.product;
    m_created = Send(ev, "UHID_CREATE2");
    return m_created;
}

bool UhidDevice::Destroy() {
    if (!m_created) return true;
    uhid_event ev{};
    ev.type = UHID_DESTROY;
    if (!Send(ev, "UHID_DESTROY")) return false;
    m_created = false;
    return true;
}

bool UhidDevice::SendInput(const uint8_t* data, size_t size) {
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    if (size > sizeof ev.u.input2.data) return false;
    std::memcpy(ev.u.input2.data, data, size);
    ev.u.input2.size = static_cast<__u16>(size);
    return Send(ev, "UHID_INPUT2");
}

bool UhidDevice::ReadEvent(uhid_event& ev) {
    const ssize_t n = read(m_fd, &ev, sizeof ev);
    if (n > 0) return true;
    m_error = std::string("reading /dev/uhid failed: ") + (n < 0 ? std::strerror(errno) : "EOF");
    return false;
}

bool UhidDevice::RefuseRequest(const uhid_event& request) {
    uhid_event ev{};
    if (request.type == UHID_GET_REPORT) {
        ev.type = UHID_GET_REPORT_REPLY;
        ev.u.get_report_reply.id = request.u.get_report.id;
        ev.u.get_report_reply.err = EIO;
    } else if (request.type == UHID_SET_REPORT) {
        ev.type = UHID_SET_REPORT_REPLY;
        ev.u.set_report_reply.id = request.u.set_report.id;
        ev.u.set_report_reply.err = EIO;
    } else {
        return false;
    }
    return Send(ev, "report reply");
}

}  // namespace e2e
