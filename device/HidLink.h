#pragma once
// CHidLink: the one link to the card reader. It keeps no device open between
// operations: every write and every read enumerates the HID interfaces anew,
// opens the first interface of the reader (its vendor and product id, 64-byte
// input and output reports, no keyboard usage), does its one transfer with a
// bounded wait and closes the device again.
//
// A device binding ties the transfers of one operation to one device: the
// first transfer binds to the interface it opens, and every later transfer
// checks that this same device (path and instance) is still there, or fails
// with TransferStatus::Gone. A reader pulled out and another plugged in
// during one configuration is thus never taken for the first.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "device/DeviceWatcher.h"
#include "device/HidPort.h"
#include "device/ReportDescriptor.h"

namespace dev {

constexpr uint16_t VENDOR_ID = 0x016C;
constexpr uint16_t PRODUCT_ID = 0x04F3;
constexpr size_t FRAME_LEN = 64;           // report payload bytes
constexpr size_t REPORT_BUFFER_LEN = 128;  // larger reports are not supported
constexpr int WRITE_WAIT_MS = 200;
constexpr int READ_WAIT_MS = 600;

// The interface the settings travel on: 64-byte reports both ways, and no
// keyboard, whose interface shares the reader's ids.
bool IsSettingsReports(const ReportLengths& reports);

// Why the last FindDevice came back the way it did.
enum class FindStatus {
    Found,
    NotFound,      // no interface with the reader's ids
    AccessDenied,  // an interface with the reader's ids exists but may not be opened
    OpenFailed,    // an interface with the reader's ids exists but failed to open
    // Interfaces with the reader's ids exist, but none carries 64-byte input
    // and output reports without a keyboard usage (its keyboard interface alone).
    Unsupported,
};

// How the last WriteReport or ReadReport ended.
enum class TransferStatus {
    Ok,
    NotPresent,  // the last presence check found no reader: nothing was tried
    NotFound,    // no interface of the reader could be opened (LastFindStatus says why)
    Timeout,     // the wait ran out
    Error,       // the platform reported an error, and the device is still there
    Gone,        // the device is gone: pulled out, or another one in the bound one's place
};
const char* TransferStatusName(TransferStatus status);

// The device an operation's transfers are tied to.
struct DeviceBinding {
    bool active = false;
    std::string path;         // empty until the first transfer has found the device
    std::string instance;     // see HidInterfaceInfo::instance
    std::string serial = {};  // as the device reports it; empty when it reports none
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
    // A read that timed out.
    virtual void OnReadTimeout(const std::string& operation) = 0;
    // A report that arrived during a read but cannot be its answer (dropped).
    virtual void OnReportDropped(const std::string& operation, const uint8_t* payload,
                                 size_t count) {
        (void)operation, (void)payload, (void)count;
    }
    // Any other transfer that failed (write: the report offered, if at all,
    // was not taken; read: nothing was copied), with the reason.
    virtual void OnTransferFailed(const std::string& operation, bool write, TransferStatus status) {
        (void)operation, (void)write, (void)status;
    }
};

// Whether a report that arrived (its payload bytes) may be the answer a read
// waits for.
using AnswerFilter = std::function<bool(const uint8_t* payload, size_t count)>;

class CHidLink {
  public:
    // clock measures the reads' time limit.
    CHidLink(HidPort& port, DeviceWatcher& watcher, const tk::Clock& clock);
    virtual ~CHidLink();
    CHidLink(const CHidLink&) = delete;
    CHidLink& operator=(const CHidLink&) = delete;

    // Opens the first interface with VENDOR_ID and PRODUCT_ID whose input
    // and output reports are FRAME_LEN + 1 bytes and that has no keyboard
    // usage. The caller owns the returned handle; nullptr when none can be
    // opened (LastFindStatus() says why). Bound to a path, it looks at that
    // interface only; otherwise it ignores the binding.
    std::unique_ptr<HidHandle> FindDevice();
    // True when the reader is attached now; m_bPresent equals the result.
    // Registers the device notification on its first call (once per object).
    bool CheckPresence();
    // Called by CheckPresence only; the result is not used by any caller.
    bool RegisterNotification();
    // Offers one output report (report id 0, then count payload bytes) to the
    // reader, waiting up to WRITE_WAIT_MS. Does nothing while m_bPresent is 0
    // or when the reader (the bound one, while bound) cannot be opened. The
    // outcome is only recorded: LastTransferStatus().
    void WriteReport(const uint8_t* payload, uint8_t count);
    // Reads one input report, waiting up to READ_WAIT_MS, and copies its
    // payload bytes 1..count to dest[0..count). A report that accepts turns
    // down is dropped (the tracer hears of it) and the read waits on for the
    // rest of its time. When nothing acceptable arrives (or the link is not present, or
    // the bound reader is gone), dest is left exactly as it was;
    // LastTransferStatus() says why.
    void ReadReport(uint8_t* dest, uint8_t count, const AnswerFilter& accepts = {});

    // Ties the transfers that follow to one device until Unbind: to the
    // interface at path, or with an empty path to the one the next transfer
    // finds. Binding again replaces the binding.
    void Bind(const std::string& path = {});
    void Unbind() { m_binding = {}; }
    const DeviceBinding& Binding() const { return m_binding; }
    // The device every DeviceBindingScope binds to from now on (the one the
    // user chose among several); empty: the one its first transfer finds.
    void ChooseDevice(std::string path) { m_chosenPath = std::move(path); }
    const std::string& ChosenDevice() const { return m_chosenPath; }

    FindStatus LastFindStatus() const { return m_lastFindStatus; }
    // Why, when LastFindStatus() is AccessDenied; Unknown otherwise.
    AccessDenial LastAccessDenial() const { return m_lastDenial; }
    TransferStatus LastTransferStatus() const { return m_lastTransfer; }
    bool IsPresent() const { return m_bPresent != 0; }
    void SetTracer(ReportTracer* tracer) { m_tracer = tracer; }
    // Names the operation whose transfers follow, for traces.
    void SetOperation(std::string name) { m_operation = std::move(name); }
    const std::string& Operation() const { return m_operation; }
    // The interface the last presence check or transfer opened.
    const HidInterfaceInfo& Opened() const { return m_opened; }

    DeviceChangeReceiver* m_hNotifyWnd = nullptr;  // set by the dialog before CheckPresence

  private:
    // Opens the device for one transfer, honouring the binding; nullptr with
    // m_lastTransfer set when there is none to use.
    std::unique_ptr<HidHandle> OpenForTransfer();
    // Records a failed transfer and tells the tracer.
    void Failed(bool write, TransferStatus status);
    // After a platform error: Gone when the device has left the enumeration.
    TransferStatus ErrorOrGone(const std::string& path);

    HidPort& m_port;
    DeviceWatcher& m_watcher;
    const tk::Clock& m_clock;
    int m_bPresent = 0;
    int m_bNotifyRegistered = 0;
    bool m_hDevNotify = false;  // the registration is live
    FindStatus m_lastFindStatus = FindStatus::NotFound;
    AccessDenial m_lastDenial = AccessDenial::Unknown;
    TransferStatus m_lastTransfer = TransferStatus::NotPresent;
    DeviceBinding m_binding;
    std::string m_chosenPath;
    HidInterfaceInfo m_opened;  // the interface the last transfer opened
    ReportTracer* m_tracer = nullptr;
    std::string m_operation;
};

// One HID interface with the reader's ids, as a device listing shows it.
struct ReaderInterface {
    HidInterfaceInfo info;
    bool openable = false;
    OpenError openError = OpenError::None;
    AccessDenial denial = AccessDenial::Unknown;  // for OpenError::AccessDenied
    bool settings = false;  // opened, and the settings travel on it (see FindDevice)
};
// Whether an enumerated interface carries the reader's vendor and product id.
bool IsReaderId(const HidInterfaceInfo& info);
// Opens the interface once and closes it again to tell whether it may be
// opened and whether the settings travel on it.
ReaderInterface DescribeReaderInterface(HidPort& port, const HidInterfaceInfo& info);
// Every interface with the reader's ids, in enumeration order; each is opened
// once and closed again to tell whether it may be opened. With wanted, only
// the interfaces it accepts are opened and listed.
std::vector<ReaderInterface> ListReaderInterfaces(
    HidPort& port, const std::function<bool(const HidInterfaceInfo&)>& wanted = {});

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

// Binds the link for the lifetime of the scope (one operation: every
// transfer to the chosen device, or without a choice to the device its first
// transfer finds). Inside a scope that is bound already it changes nothing:
// Set Device's keypad write belongs to Set Device, batch mode's Set Device to
// its device change.
class DeviceBindingScope {
  public:
    explicit DeviceBindingScope(CHidLink& link) : m_link(link), m_owner(!link.Binding().active) {
        if (m_owner) link.Bind(link.ChosenDevice());
    }
    ~DeviceBindingScope() {
        if (m_owner) m_link.Unbind();
    }
    DeviceBindingScope(const DeviceBindingScope&) = delete;
    DeviceBindingScope& operator=(const DeviceBindingScope&) = delete;

  private:
    CHidLink& m_link;
    bool m_owner;
};

}  // namespace dev
