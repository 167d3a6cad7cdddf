#pragma once
// Virtual HID devices behind the HidPort interface, with the handle semantics
// of the kernel: every open handle has its own input queue; a device answers
// each output report after its model's processing delay, and the answer goes
// only to the handles open at that moment (an answer sent while no handle is
// open is lost). Time comes from a Clock: virtual in tests, real in the
// tool's simulation mode. Attaching and detaching raise device-change events
// through the port's watcher. Several threads may use the port and its
// handles at once (a parallel batch, a test that pulls a device from another
// thread); a handle's read waits without holding the port.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "device/DeviceWatcher.h"
#include "device/HidPort.h"
#include "sim/ReaderModel.h"

namespace sim {

struct ReceivedFrame {
    int64_t timeMs = 0;
    Frame frame{};
};

class VirtualHandle;

class VirtualDevice {
  public:
    VirtualDevice(std::string path, std::string instance, uint16_t vid, uint16_t pid,
                  std::unique_ptr<ReaderModel> model);

    // Paths are reused as hidraw reuses node numbers; the instance never is.
    const std::string& Path() const { return m_path; }
    const std::string& Instance() const { return m_instance; }
    uint16_t VendorId() const { return m_vid; }
    uint16_t ProductId() const { return m_pid; }
    ReaderModel& Model() { return *m_model; }
    template <class M>
    M& ModelAs() {
        return dynamic_cast<M&>(*m_model);
    }

    // Every output report payload the device received, in order.
    const std::vector<ReceivedFrame>& Received() const { return m_received; }
    void ClearReceived() { m_received.clear(); }

    // Settings for tests.
    dev::OpenError openError = dev::OpenError::None;  // Open fails with this when not None
    dev::AccessDenial accessDenial = dev::AccessDenial::Unknown;  // why, for AccessDenied
    size_t inputReportLength = 65;
    size_t outputReportLength = 65;
    bool keyboardUsage = false;  // a keyboard interface, as a reader's second one is
    int openCount = 0;
    std::string serial;  // set by the port at attachment, unique per instance

  private:
    friend class VirtualHidPort;
    friend class VirtualHandle;
    struct Pending {
        int64_t dueMs;
        Frame frame;
    };
    void Receive(int64_t nowMs, const uint8_t* payload, size_t len);
    void DeliverDue(int64_t nowMs);
    int64_t NextDue() const;

    std::string m_path;
    std::string m_instance;
    uint16_t m_vid, m_pid;
    std::unique_ptr<ReaderModel> m_model;
    std::vector<ReceivedFrame> m_received;
    std::deque<Pending> m_pending;
    std::vector<VirtualHandle*> m_handles;
};

class VirtualHidPort : public dev::HidPort, public dev::DeviceWatcher {
  public:
    explicit VirtualHidPort(tk::Clock& clock);
    ~VirtualHidPort() override;

    // Attaches a device and raises arrival and tree-change events (arrival
    // first, as a hidraw add does). The port owns the device, whose path is
    // the lowest one free, as hidraw node numbers are.
    VirtualDevice& Attach(std::unique_ptr<ReaderModel> model, uint16_t vid = 0x016C,
                          uint16_t pid = 0x04F3);
    // Attaches without raising events (for the state at start-up).
    VirtualDevice& AttachQuietly(std::unique_ptr<ReaderModel> model, uint16_t vid = 0x016C,
                                 uint16_t pid = 0x04F3);
    // Detaches a device and raises removal and tree-change events.
    void Detach(VirtualDevice& device);
    void DetachQuietly(VirtualDevice& device);
    // Detaches a device (with events) and hands back its model, so the same
    // reader, with what it stored, can be plugged in again.
    std::unique_ptr<ReaderModel> DetachKeepingModel(VirtualDevice& device);
    // Raises an event as the platform would for some other device.
    void RaiseEvent(uint32_t event);

    std::vector<VirtualDevice*> Devices();
    VirtualDevice* Find(const std::string& path);

    // HidPort
    std::vector<dev::HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<dev::HidHandle> Open(const std::string& path, dev::OpenError* error) override;
    dev::AccessDenial ExplainAccessDenied(const std::string& path) override;
    // Open, with the handle's waits and its device's answers on clock (a
    // session's own timeline) instead of the port's.
    std::unique_ptr<dev::HidHandle> OpenOn(const std::string& path, dev::OpenError* error,
                                           tk::Clock& clock);
    // DeviceWatcher
    bool Register(dev::DeviceChangeReceiver* receiver) override;
    void Unregister() override;

    // The number the next attached device's serial number is made from, so
    // that devices restored from a file keep theirs unique.
    int NextInstance();
    void SetNextInstance(int next);

    int registerCount = 0;
    int enumerateCount = 0;

  private:
    friend class VirtualHandle;
    VirtualDevice* FindLocked(const std::string& path);
    // Recursive: detaching a device detaches its handles, which lock too.
    std::recursive_mutex m_mutex;
    tk::Clock& m_clock;
    std::vector<std::unique_ptr<VirtualDevice>> m_devices;
    dev::DeviceChangeReceiver* m_receiver = nullptr;
    int m_nextInstance = 0;
};

// The port as one session sees it: the same devices, with every transfer on
// the session's clock.
class ClockedPort : public dev::HidPort {
  public:
    ClockedPort(VirtualHidPort& port, tk::Clock& clock) : m_port(port), m_clock(clock) {}
    std::vector<dev::HidInterfaceInfo> Enumerate() override { return m_port.Enumerate(); }
    std::unique_ptr<dev::HidHandle> Open(const std::string& path, dev::OpenError* error) override {
        return m_port.OpenOn(path, error, m_clock);
    }
    dev::AccessDenial ExplainAccessDenied(const std::string& path) override {
        return m_port.ExplainAccessDenied(path);
    }

  private:
    VirtualHidPort& m_port;
    tk::Clock& m_clock;
};

}  // namespace sim
