#include "sim/VirtualHidPort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "device/HidrawPaths.h"

namespace sim {

class VirtualHandle : public dev::HidHandle {
  public:
    // The set of open handles changes only here and in Detach; delivering what
    // fell due before each change gives every answer to exactly the handles
    // that were open when it went out.
    // The handle's transfers run on clock: the session's that opened it.
    VirtualHandle(VirtualHidPort& port, VirtualDevice& device, tk::Clock& clock)
        : m_port(port), m_clock(clock), m_device(&device) {
        Lock lock(port.m_mutex);
        device.DeliverDue(m_clock.NowMs());
        device.m_handles.push_back(this);
    }
    ~VirtualHandle() override { Detach(); }

    void Detach() {
        Lock lock(m_port.m_mutex);
        if (!m_device) return;
        m_device->DeliverDue(m_clock.NowMs());
        auto& hs = m_device->m_handles;
        hs.erase(std::remove(hs.begin(), hs.end(), this), hs.end());
        m_device = nullptr;
    }
    void Enqueue(const Frame& f) { m_queue.push_back(f); }

    size_t InputReportLength() const override {
        Lock lock(m_port.m_mutex);
        return m_device ? m_device->inputReportLength : 0;
    }
    size_t OutputReportLength() const override {
        Lock lock(m_port.m_mutex);
        return m_device ? m_device->outputReportLength : 0;
    }
    bool HasKeyboardUsage() const override {
        Lock lock(m_port.m_mutex);
        return m_device && m_device->keyboardUsage;
    }

    bool Write(const uint8_t* report, size_t length, int) override {
        Lock lock(m_port.m_mutex);
        if (!m_device || length == 0) return false;
        m_device->Receive(m_clock.NowMs(), report + 1, length - 1);
        return true;
    }

    // The device may be pulled out while the read waits (a clock's wait is
    // where the rest of the world moves on): it is looked at afresh after
    // each wait.
    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        tk::Clock& clock = m_clock;
        const int64_t deadline = clock.NowMs() + timeoutMs;
        std::unique_lock lock(m_port.m_mutex);
        for (;;) {
            if (!m_device) return -1;
            m_device->DeliverDue(clock.NowMs());
            if (!m_queue.empty()) break;
            const int64_t next = m_device->NextDue();
            const bool lastWait = next < 0 || next > deadline;
            lock.unlock();
            clock.WaitUntil(lastWait ? deadline : next);
            lock.lock();
            if (!m_device) return -1;
            if (lastWait) {
                m_device->DeliverDue(clock.NowMs());
                if (m_queue.empty()) return 0;
                break;
            }
        }
        const Frame f = m_queue.front();
        m_queue.pop_front();
        const size_t n = std::min(capacity, m_device->inputReportLength);
        if (n == 0) return 0;
        report[0] = 0;
        std::memcpy(report + 1, f.data(), std::min(n - 1, f.size()));
        if (n - 1 > f.size()) std::memset(report + 1 + f.size(), 0, n - 1 - f.size());
        return static_cast<int>(n);
    }

  private:
    using Lock = std::lock_guard<std::recursive_mutex>;
    VirtualHidPort& m_port;
    tk::Clock& m_clock;
    VirtualDevice* m_device;
    std::deque<Frame> m_queue;
};

VirtualDevice::VirtualDevice(std::string path, std::string instance, uint16_t vid, uint16_t pid,
                             std::unique_ptr<ReaderModel> model)
    : m_path(std::move(path)),
      m_instance(std::move(instance)),
      m_vid(vid),
      m_pid(pid),
      m_model(std::move(model)) {}

void VirtualDevice::Receive(int64_t nowMs, const uint8_t* payload, size_t len) {
    DeliverDue(nowMs);
    ReceivedFrame r;
    r.timeMs = nowMs;
    std::memcpy(r.frame.data(), payload, std::min(len, r.frame.size()));
    m_received.push_back(r);
    for (const Frame& answer : m_model->OnFrame(r.frame))
        m_pending.push_back(Pending{nowMs + m_model->AnswerDelayMs(), answer});
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const Pending& a, const Pending& b) { return a.dueMs < b.dueMs; });
}

void VirtualDevice::DeliverDue(int64_t nowMs) {
    while (!m_pending.empty() && m_pending.front().dueMs <= nowMs) {
        // Only the handles open now see the report; with none open it is lost.
        for (VirtualHandle* h : m_handles) h->Enqueue(m_pending.front().frame);
        m_pending.pop_front();
    }
}

int64_t VirtualDevice::NextDue() const {
    return m_pending.empty() ? -1 : m_pending.front().dueMs;
}

VirtualHidPort::VirtualHidPort(tk::Clock& clock) : m_clock(clock) {}

VirtualHidPort::~VirtualHidPort() {
    std::lock_guard lock(m_mutex);
    for (auto& d : m_devices)
        for (VirtualHandle* h : std::vector<VirtualHandle*>(d->m_handles)) h->Detach();
}

VirtualDevice& VirtualHidPort::AttachQuietly(std::unique_ptr<ReaderModel> model, uint16_t vid,
                                             uint16_t pid) {
    std::lock_guard lock(m_mutex);
    int number = 0;
    while (FindLocked("/dev/vhidraw" + std::to_string(number))) ++number;
    auto device = std::make_unique<VirtualDevice>("/dev/vhidraw" + std::to_string(number),
                                                  "virtual." + std::to_string(m_nextInstance++),
                                                  vid, pid, std::move(model));
    // A serial per attachment, as each real reader carries its own.
    char serial[16];
    std::snprintf(serial, sizeof serial, "VR%06d", m_nextInstance);
    device->serial = serial;
    m_devices.push_back(std::move(device));
    return *m_devices.back();
}

VirtualDevice& VirtualHidPort::Attach(std::unique_ptr<ReaderModel> model, uint16_t vid,
                                      uint16_t pid) {
    VirtualDevice& d = AttachQuietly(std::move(model), vid, pid);
    RaiseEvent(dev::DBT_DEVICEARRIVAL);
    RaiseEvent(dev::DBT_DEVNODES_CHANGED);
    return d;
}

void VirtualHidPort::DetachQuietly(VirtualDevice& device) {
    std::lock_guard lock(m_mutex);
    for (VirtualHandle* h : std::vector<VirtualHandle*>(device.m_handles)) h->Detach();
    m_devices.erase(std::remove_if(m_devices.begin(), m_devices.end(),
                                   [&](const auto& d) { return d.get() == &device; }),
                    m_devices.end());
}

std::unique_ptr<ReaderModel> VirtualHidPort::DetachKeepingModel(VirtualDevice& device) {
    std::unique_ptr<ReaderModel> model;
    {
        std::lock_guard lock(m_mutex);
        model = std::move(device.m_model);
        device.m_model = std::make_unique<SilentModel>();  // the shell goes away below
    }
    Detach(device);
    return model;
}

void VirtualHidPort::Detach(VirtualDevice& device) {
    DetachQuietly(device);
    RaiseEvent(dev::DBT_DEVICEREMOVECOMPLETE);
    RaiseEvent(dev::DBT_DEVNODES_CHANGED);
}

void VirtualHidPort::RaiseEvent(uint32_t event) {
    dev::DeviceChangeReceiver* receiver = nullptr;
    {
        std::lock_guard lock(m_mutex);
        receiver = m_receiver;
    }
    // Outside the lock: the receiver enumerates and opens on other threads' time.
    if (receiver) receiver->OnDeviceChange(event, 0);
}

std::vector<VirtualDevice*> VirtualHidPort::Devices() {
    std::lock_guard lock(m_mutex);
    std::vector<VirtualDevice*> out;
    for (auto& d : m_devices) out.push_back(d.get());
    return out;
}

VirtualDevice* VirtualHidPort::Find(const std::string& path) {
    std::lock_guard lock(m_mutex);
    return FindLocked(path);
}

VirtualDevice* VirtualHidPort::FindLocked(const std::string& path) {
    for (auto& d : m_devices)
        if (d->Path() == path) return d.get();
    return nullptr;
}

std::vector<dev::HidInterfaceInfo> VirtualHidPort::Enumerate() {
    std::lock_guard lock(m_mutex);
    ++enumerateCount;
    std::vector<dev::HidInterfaceInfo> out;
    for (auto& d : m_devices)
        out.push_back({d->Path(), d->VendorId(), d->ProductId(), d->Instance(), d->serial, 0});
    std::stable_sort(out.begin(), out.end(),
                     [](const dev::HidInterfaceInfo& a, const dev::HidInterfaceInfo& b) {
                         return dev::HidrawPathBefore(a.path, b.path);
                     });
    return out;
}

std::unique_ptr<dev::HidHandle> VirtualHidPort::Open(const std::string& path,
                                                     dev::OpenError* error) {
    return OpenOn(path, error, m_clock);
}

std::unique_ptr<dev::HidHandle> VirtualHidPort::OpenOn(const std::string& path,
                                                       dev::OpenError* error, tk::Clock& clock) {
    std::lock_guard lock(m_mutex);
    VirtualDevice* d = FindLocked(path);
    dev::OpenError e = !d ? dev::OpenError::NotFound : d->openError;
    if (error) *error = e;
    if (e != dev::OpenError::None) return nullptr;
    ++d->openCount;
    return std::make_unique<VirtualHandle>(*this, *d, clock);
}

dev::AccessDenial VirtualHidPort::ExplainAccessDenied(const std::string& path) {
    std::lock_guard lock(m_mutex);
    VirtualDevice* d = FindLocked(path);
    return d ? d->accessDenial : dev::AccessDenial::Unknown;
}

int VirtualHidPort::NextInstance() {
    std::lock_guard lock(m_mutex);
    return m_nextInstance;
}

void VirtualHidPort::SetNextInstance(int next) {
    std::lock_guard lock(m_mutex);
    m_nextInstance = next;
}

bool VirtualHidPort::Register(dev::DeviceChangeReceiver* receiver) {
    std::lock_guard lock(m_mutex);
    ++registerCount;
    m_receiver = receiver;
    return true;
}

void VirtualHidPort::Unregister() {
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
}

}  // namespace sim
