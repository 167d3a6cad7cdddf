#include "device/hidapi/HidapiPort.h"

#include <fcntl.h>
#include <hidapi.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "device/HidrawPaths.h"
#include "device/ReportDescriptor.h"
#include "device/udev/UdevNodeTags.h"

namespace dev {
namespace {

// Report lengths of the reader itself (report id byte and 64 payload bytes):
// assumed when the descriptor cannot be read.
constexpr size_t FALLBACK_REPORT_LEN = 65;

class HidapiHandle : public HidHandle {
  public:
    HidapiHandle(hid_device* device, ReportLengths lengths)
        : m_device(device), m_lengths(lengths) {}
    ~HidapiHandle() override { hid_close(m_device); }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    size_t InputReportLength() const override { return m_lengths.input; }
    size_t OutputReportLength() const override { return m_lengths.output; }

    // hidraw writes block until the report has gone out (an interrupt or
    // control transfer, bounded by the kernel's own USB timeouts), so the
    // time limit is not applied here; a healthy reader takes well under it.
    bool Write(const uint8_t* report, size_t length, int /*timeoutMs*/) override {
        if (!report || length == 0) return false;
        const int written = hid_write(m_device, report, length);
        return written == static_cast<int>(length);
    }

    // hidraw hands over the report id byte only for numbered reports; for the
    // others it is put in front here, so callers always see it first.
    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        if (!report || capacity < 2) return -1;
        std::vector<uint8_t> buffer(capacity);
        const size_t offset = m_lengths.numbered ? 0 : 1;
        const int got = hid_read_timeout(m_device, buffer.data() + offset, capacity - offset,
                                         std::max(0, timeoutMs));
        if (got <= 0) return got < 0 ? -1 : 0;
        const size_t total = std::min(capacity, static_cast<size_t>(got) + offset);
        std::copy_n(buffer.begin(), total, report);
        return static_cast<int>(total);
    }

  private:
    hid_device* m_device;
    ReportLengths m_lengths;
};

OpenError Classify(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return OpenError::AccessDenied;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenError::NotFound;
        default:
            return OpenError::Other;
    }
}

ReportLengths ReadReportLengths(const std::string& devicePath) {
    std::ifstream in(ReportDescriptorPathOf(devicePath), std::ios::binary);
    std::vector<uint8_t> bytes;
    if (in) {
        bytes.resize(MAX_REPORT_DESCRIPTOR_LEN);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    }
    if (!bytes.empty()) {
        if (auto parsed = ParseReportLengths(bytes.data(), bytes.size())) return *parsed;
    }
    ReportLengths fallback;
    fallback.input = fallback.output = FALLBACK_REPORT_LEN;
    return fallback;
}

}  // namespace

HidapiPort::HidapiPort() : m_initialised(hid_init() == 0) {}

HidapiPort::~HidapiPort() {
    if (m_initialised) hid_exit();
}

std::vector<HidInterfaceInfo> HidapiPort::Enumerate() {
    std::vector<HidInterfaceInfo> found;
    if (!m_initialised) return found;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* d = list; d; d = d->next) {
        if (!d->path) continue;
        found.push_back({d->path, d->vendor_id, d->product_id});
    }
    hid_free_enumeration(list);
    std::stable_sort(found.begin(), found.end(),
                     [](const HidInterfaceInfo& a, const HidInterfaceInfo& b) {
                         return HidrawPathBefore(a.path, b.path);
                     });
    return found;
}

std::unique_ptr<HidHandle> HidapiPort::Open(const std::string& path, OpenError* error) {
    OpenError result = OpenError::None;
    std::unique_ptr<HidHandle> handle;
    // hidapi keeps errno to itself; opening the node once here tells a
    // missing node from one this user may not open.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result = Classify(errno);
    } else {
        ::close(fd);
        hid_device* device = m_initialised ? hid_open_path(path.c_str()) : nullptr;
        if (device)
            handle = std::make_unique<HidapiHandle>(device, ReadReportLengths(path));
        else
            result = OpenError::Other;
    }
    if (error) *error = result;
    return handle;
}

AccessDenial HidapiPort::ExplainAccessDenied(const std::string& path) {
    return ClassifyAccessDenial(UdevRuleInstalled(UdevRuleDirs()),
                                NodeHasCurrentTag(path, "uaccess"));
}

}  // namespace dev
