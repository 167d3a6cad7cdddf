#include "e2e/driver/HidrawPort.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/HidLink.h"
#include "e2e/driver/Uevent.h"

namespace e2e {

namespace {

namespace fs = std::filesystem;

// Report lengths of the reader the device program makes (report id 0 plus
// the payload); the hidapi adapter learns them from the device.
constexpr size_t REPORT_LEN = dev::FRAME_LEN + 1;

class HidrawHandle : public dev::HidHandle {
  public:
    explicit HidrawHandle(int fd) : m_fd(fd) {}
    ~HidrawHandle() override { close(m_fd); }
    size_t InputReportLength() const override { return REPORT_LEN; }
    size_t OutputReportLength() const override { return REPORT_LEN; }

    bool Write(const uint8_t* report, size_t length, int timeoutMs) override {
        pollfd p{m_fd, POLLOUT, 0};
        if (poll(&p, 1, timeoutMs) != 1 || !(p.revents & POLLOUT)) return false;
        return write(m_fd, report, length) == static_cast<ssize_t>(length);
    }

    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        pollfd p{m_fd, POLLIN, 0};
        const int ready = poll(&p, 1, timeoutMs);
        if (ready == 0) return 0;
        if (ready < 0 || !(p.revents & POLLIN) || capacity == 0) return -1;
        // Without report ids hidraw gives the payload alone; the id goes in front.
        uint8_t payload[dev::REPORT_BUFFER_LEN];
        const ssize_t n = read(m_fd, payload, sizeof payload);
        if (n < 0) return errno == EAGAIN ? 0 : -1;
        const size_t stored = std::min(static_cast<size_t>(n), capacity - 1);
        report[0] = 0;
        std::memcpy(report + 1, payload, stored);
        return static_cast<int>(stored + 1);
    }

  private:
    int m_fd;
};

int NodeNumber(const std::string& name) {
    return std::atoi(name.c_str() + 6);
}

}  // namespace

std::vector<dev::HidInterfaceInfo> HidrawPort::Enumerate() {
    std::vector<std::string> nodes;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/sys/class/hidraw", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("hidraw")) nodes.push_back(name);
    }
    std::sort(nodes.begin(), nodes.end(), [](const std::string& a, const std::string& b) {
        return NodeNumber(a) < NodeNumber(b);
    });
    std::vector<dev::HidInterfaceInfo> found;
    for (const std::string& name : nodes) {
        std::ifstream uevent("/sys/class/hidraw/" + name + "/device/uevent");
        std::stringstream text;
        text << uevent.rdbuf();
        // A node whose device went away meanwhile has no ids and is left out.
        if (const auto ids = ParseHidId(text.str()))
            found.push_back({"/dev/" + name, ids->vendor, ids->product});
    }
    return found;
}

std::unique_ptr<dev::HidHandle> HidrawPort::Open(const std::string& path, dev::OpenError* error) {
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) return std::make_unique<HidrawHandle>(fd);
    if (error)
        *error = errno == EACCES || errno == EPERM    ? dev::OpenError::AccessDenied
                 : errno == ENOENT || errno == ENODEV ? dev::OpenError::NotFound
                                                      : dev::OpenError::Other;
    return nullptr;
}

}  // namespace e2e
