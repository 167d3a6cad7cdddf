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

#include "device/BoundedWrite.h"
#include "device/HidrawPaths.h"
#include "device/ReportDescriptor.h"
#include "device/udev/UdevNodeTags.h"

namespace dev {
namespace {

// Report lengths of the reader itself (report id byte and 64 payload bytes):
// assumed when the descriptor cannot be read.
constexpr size_t FALLBACK_REPORT_LEN = 65;

using SharedDevice = std::shared_ptr<hid_device>;

class HidapiHandle : public HidHandle {
  public:
    HidapiHandle(SharedDevice device, ReportLengths lengths, WriteGate& gate)
        : m_device(std::move(device)), m_lengths(lengths), m_gate(gate) {}

    size_t InputReportLength() const override { return m_lengths.input; }
    size_t OutputReportLength() const override { return m_lengths.output; }
    bool HasKeyboardUsage() const override { return m_lengths.keyboard; }

    // hidraw writes block until the report has gone out, bounded only by the
    // kernel's own USB timeouts (seconds); the gate bounds them to timeoutMs.
    // A write given up keeps the device open until the kernel lets it go.
    bool Write(const uint8_t* report, size_t length, int timeoutMs) override {
        m_timedOut = false;
        if (!report || length == 0) return false;
        auto write = [device = m_device, bytes = std::vector<uint8_t>(report, report + length)] {
            return hid_write(device.get(), bytes.data(), bytes.size()) ==
                   static_cast<int>(bytes.size());
        };
        switch (m_gate.Run(write, timeoutMs)) {
            case WriteGate::Result::Written:
                return true;
            case WriteGate::Result::TimedOut:
            case WriteGate::Result::Busy:  // the last write to this node still hangs
                m_timedOut = true;
                return false;
            case WriteGate::Result::Failed:
                break;
        }
        return false;
    }
    bool LastWriteTimedOut() const override { return m_timedOut; }

    // hidraw hands over the report id byte only for numbered reports; for the
    // others it is put in front here, so callers always see it first.
    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        if (!report || capacity < 2) return -1;
        std::vector<uint8_t> buffer(capacity);
        const size_t offset = m_lengths.numbered ? 0 : 1;
        const int got = hid_read_timeout(m_device.get(), buffer.data() + offset, capacity - offset,
                                         std::max(0, timeoutMs));
        if (got <= 0) return got < 0 ? -1 : 0;
        const size_t total = std::min(capacity, static_cast<size_t>(got) + offset);
        std::copy_n(buffer.begin(), total, report);
        return static_cast<int>(total);
    }

  private:
    SharedDevice m_device;
    ReportLengths m_lengths;
    WriteGate& m_gate;
    bool m_timedOut = false;
};

// The HID device behind a hidraw node ("0003:016C:04F3.000A"): the kernel
// numbers every HID device it creates anew, so a device plugged in later
// differs even when it gets the same node.
// hidapi hands the serial number over as wide characters (code points on
// Linux); the tool speaks UTF-8.
std::string Utf8Of(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text) {
        const uint32_t c = static_cast<uint32_t>(*text);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c < 0xE000) continue;  // no lone surrogates
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string InstanceOf(const std::string& devicePath) {
    const size_t slash = devicePath.find_last_of('/');
    const std::string node = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    char target[512];
    const std::string link = "/sys/class/hidraw/" + node + "/device";
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) return {};
    const std::string t(target, static_cast<size_t>(n));
    return t.substr(t.find_last_of('/') + 1);
}

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
    if (auto parsed = ReadReportLengthsFrom(ReportDescriptorPathOf(devicePath))) return *parsed;
    ReportLengths fallback;
    fallback.input = fallback.output = FALLBACK_REPORT_LEN;
    return fallback;
}

}  // namespace

HidapiPort::HidapiPort() : m_initialised(hid_init() == 0) {}

HidapiPort::~HidapiPort() {
    // A write still hanging in the kernel ends within the kernel's own limit.
    for (auto& [path, gate] : m_gates) gate->WaitIdle();
    if (m_initialised) hid_exit();
}

std::vector<HidInterfaceInfo> HidapiPort::Enumerate() {
    std::vector<HidInterfaceInfo> found;
    if (!m_initialised) return found;
    {
        const std::lock_guard lock(m_mutex);
        hid_device_info* list = hid_enumerate(0, 0);
        for (const hid_device_info* d = list; d; d = d->next) {
            if (!d->path) continue;
            // hidapi lists a node once per top-level collection: once is enough.
            if (!found.empty() && found.back().path == d->path) continue;
            found.push_back({d->path, d->vendor_id, d->product_id, InstanceOf(d->path),
                             Utf8Of(d->serial_number), d->interface_number});
        }
        hid_free_enumeration(list);
    }
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
        std::unique_lock lock(m_mutex);
        hid_device* device = m_initialised ? hid_open_path(path.c_str()) : nullptr;
        if (device) {
            std::unique_ptr<WriteGate>& gate = m_gates[path];
            if (!gate) gate = std::make_unique<WriteGate>();
            lock.unlock();
            handle = std::make_unique<HidapiHandle>(SharedDevice(device, hid_close),
                                                    ReadReportLengths(path), *gate);
        } else
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
