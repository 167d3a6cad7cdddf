#pragma once
// CHidLink: the one link to the card reader. It keeps no device open between
// operations: every write and every read enumerates the HID interfaces anew,
// opens the first one with the reader's vendor and product id, does its one
// transfer with a bounded wait and closes the device again.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "device/DeviceWatcher.h"
#include "device/HidPort.h"

namespace dev {

constexpr uint16_t VENDOR_ID = 0x016C;
constexpr uint16_t PRODUCT_ID = 0x04F3;
constexpr size_t FRAME_LEN = 64;           // report payload bytes
constexpr size_t REPORT_BUFFER_LEN = 128;  // larger reports are not supported
constexpr int WRITE_WAIT_MS = 200;
constexpr int READ_WAIT_MS = 600;

// Why the last FindDevice came back the way it did.
enum class FindStatus {
    Found,
    NotFound,      // no interface with the reader's ids
    AccessDenied,  // an interface with the reader's ids exists but may not be opened
    OpenFailed,    // an interface with the reader's ids exists but failed to open
    Unsupported,   // the reader's reports are longer than REPORT_BUFFER_LEN
};

// Observes every report that goes through the link (for traces).
class ReportTracer {
  public:
    virtual ~ReportTracer() = default;
    // operation: the dialog operation that caused the transfer.
    virtual void OnReportWritten(const std::string& operation, const uint8_t* payload,
                                 size_t count) = 0;
    // Called only when a report arrived.
    virtual void OnReportRead(const std::string& operation, const uint8_t* payload,
                              size_t count) = 0;
    virtual void OnReadTimeout(const std::string& operation) = 0;
};

class CHidLink {
  public:
    CHidLink(HidPort& port, DeviceWatcher& watcher);
    virtual ~CHidLink();
    CHidLink(const CHidLink&) = delete;
    CHidLink& operator=(const CHidLink&) = delete;

    // Opens the first interface with VENDOR_ID and PRODUCT_ID. The caller owns
    // the returned handle; nullptr when none can be opened (LastFindStatus()
    // says why).
    std::unique_ptr<HidHandle> FindDevice();
    // True when the reader is attached now; m_bPresent equals the result.
    // Registers the device notification on its first call (once per object).
    bool CheckPresence();
    // Called by CheckPresence only; the result is not used by any caller.
    bool RegisterNotification();
    // Offers one output report (report id 0, then count payload bytes) to the
    // reader, waiting up to WRITE_WAIT_MS. Does nothing while m_bPresent is 0
    // or when the reader cannot be opened. No outcome is reported.
    void WriteReport(const uint8_t* payload, uint8_t count);
    // Reads one input report, waiting up to READ_WAIT_MS, and copies its
    // payload bytes 1..count to dest[0..count). When nothing arrives (or the
    // link is not present), dest is left exactly as it was.
    void ReadReport(uint8_t* dest, uint8_t count);

    FindStatus LastFindStatus() const { return m_lastFindStatus; }
    // Why, when LastFindStatus() is AccessDenied; Unknown otherwise.
    AccessDenial LastAccessDenial() const { return m_lastDenial; }
    bool IsPresent() const { return m_bPresent != 0; }
    void SetTracer(ReportTracer* tracer) { m_tracer = tracer; }
    // Names the operation whose transfers follow, for traces.
    void SetOperation(std::string name) { m_operation = std::move(name); }
    const std::string& Operation() const { return m_operation; }

    DeviceChangeReceiver* m_hNotifyWnd = nullptr;  // set by the dialog before CheckPresence

  private:
    HidPort& m_port;
    DeviceWatcher& m_watcher;
    int m_bPresent = 0;
    int m_bNotifyRegistered = 0;
    bool m_hDevNotify = false;  // the registration is live
    FindStatus m_lastFindStatus = FindStatus::NotFound;
    AccessDenial m_lastDenial = AccessDenial::Unknown;
    ReportTracer* m_tracer = nullptr;
    std::string m_operation;
};

// Names the link's operation for the lifetime of the scope, restoring the
// outer name afterwards (batch mode runs Set Device inside a device change).
class OperationScope {
  public:
    OperationScope(CHidLink& link, const char* name) : m_link(link), m_outer(link.Operation()) {
        link.SetOperation(name);
    }
    ~OperationScope() { m_link.SetOperation(m_outer); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

  private:
    CHidLink& m_link;
    std::string m_outer;
};

}  // namespace dev
