#include "device/HidLink.h"

#include <algorithm>
#include <array>

namespace dev {
namespace {

bool IsSettingsInterface(const HidHandle& handle) {
    return IsSettingsReports({handle.InputReportLength(), handle.OutputReportLength(), false,
                              handle.HasKeyboardUsage()});
}

}  // namespace

bool IsSettingsReports(const ReportLengths& r) {
    return r.input == FRAME_LEN + 1 && r.output == FRAME_LEN + 1 && !r.keyboard;
}

const char* TransferStatusName(TransferStatus status) {
    switch (status) {
        case TransferStatus::Ok:
            return "ok";
        case TransferStatus::NotPresent:
            return "absent";
        case TransferStatus::NotFound:
            return "notfound";
        case TransferStatus::Timeout:
            return "timeout";
        case TransferStatus::Error:
            return "error";
        case TransferStatus::Gone:
            return "gone";
    }
    return "error";
}

bool IsReaderId(const HidInterfaceInfo& info) {
    return info.vendorId == VENDOR_ID && info.productId == PRODUCT_ID;
}

ReaderInterface DescribeReaderInterface(HidPort& port, const HidInterfaceInfo& info) {
    ReaderInterface r{info};
    std::unique_ptr<HidHandle> handle = port.Open(info.path, &r.openError);
    r.openable = handle != nullptr;
    if (handle) r.openError = OpenError::None;
    r.settings = handle && IsSettingsInterface(*handle);
    if (r.openError == OpenError::AccessDenied) r.denial = port.ExplainAccessDenied(info.path);
    return r;
}

std::vector<ReaderInterface> ListReaderInterfaces(
    HidPort& port, const std::function<bool(const HidInterfaceInfo&)>& wanted) {
    std::vector<ReaderInterface> out;
    for (const HidInterfaceInfo& info : port.Enumerate())
        if (IsReaderId(info) && (!wanted || wanted(info)))
            out.push_back(DescribeReaderInterface(port, info));
    return out;
}

CHidLink::CHidLink(HidPort& port, DeviceWatcher& watcher, const tk::Clock& clock)
    : m_port(port), m_watcher(watcher), m_clock(clock) {}

CHidLink::~CHidLink() {
    if (m_hDevNotify) m_watcher.Unregister();
}

std::unique_ptr<HidHandle> CHidLink::FindDevice() {
    FindStatus status = FindStatus::NotFound;
    AccessDenial denial = AccessDenial::Unknown;
    for (const HidInterfaceInfo& info : m_port.Enumerate()) {
        // Ids come from the enumeration: other devices are never opened.
        if (!IsReaderId(info)) continue;
        // A link bound to one device asks after that one and opens no other
        // (another may be in the middle of someone else's exchange).
        if (m_binding.active && !m_binding.path.empty() && info.path != m_binding.path) continue;
        OpenError error = OpenError::None;
        std::unique_ptr<HidHandle> handle = m_port.Open(info.path, &error);
        if (!handle) {
            // Keep looking: a later interface may open. Remember the most telling reason.
            if (error == OpenError::AccessDenied) {
                if (status != FindStatus::AccessDenied)
                    denial = m_port.ExplainAccessDenied(info.path);
                status = FindStatus::AccessDenied;
            } else if (status == FindStatus::NotFound)
                status = FindStatus::OpenFailed;
            continue;
        }
        if (!IsSettingsInterface(*handle)) {
            if (status == FindStatus::NotFound) status = FindStatus::Unsupported;
            continue;
        }
        m_lastFindStatus = FindStatus::Found;
        m_lastDenial = AccessDenial::Unknown;
        m_opened = info;
        return handle;
    }
    m_lastFindStatus = status;
    m_lastDenial = denial;
    return nullptr;
}

bool CHidLink::CheckPresence() {
    const bool found = FindDevice() != nullptr;  // the handle closes at once
    if (!m_bNotifyRegistered) {
        RegisterNotification();
        m_bNotifyRegistered = 1;  // also when the registration failed
    }
    m_bPresent = found ? 1 : 0;
    return found;
}

bool CHidLink::RegisterNotification() {
    m_hDevNotify = m_hNotifyWnd != nullptr && m_watcher.Register(m_hNotifyWnd);
    return m_hDevNotify;
}

void CHidLink::Bind(const std::string& path) {
    m_binding = DeviceBinding{true, path, {}};
    if (path.empty()) return;
    for (const HidInterfaceInfo& info : m_port.Enumerate())
        if (info.path == path) {
            m_binding.instance = info.instance;
            m_binding.serial = info.serial;
        }
}

std::unique_ptr<HidHandle> CHidLink::OpenForTransfer() {
    if (!m_bPresent) {
        m_lastTransfer = TransferStatus::NotPresent;
        return nullptr;
    }
    if (!m_binding.active || m_binding.path.empty()) {
        std::unique_ptr<HidHandle> handle = FindDevice();
        if (!handle) {
            m_lastTransfer = TransferStatus::NotFound;
            return nullptr;
        }
        if (m_binding.active) {
            m_binding.path = m_opened.path;
            m_binding.instance = m_opened.instance;
            m_binding.serial = m_opened.serial;
        }
        return handle;
    }
    // Bound: that device and no other, found afresh like every transfer.
    for (const HidInterfaceInfo& info : m_port.Enumerate()) {
        if (info.path != m_binding.path) continue;
        if (!IsReaderId(info) || info.instance != m_binding.instance) break;
        OpenError error = OpenError::None;
        std::unique_ptr<HidHandle> handle = m_port.Open(info.path, &error);
        if (handle && IsSettingsInterface(*handle)) {
            m_opened = info;
            return handle;
        }
        m_lastTransfer = error == OpenError::NotFound || (handle && !IsSettingsInterface(*handle))
                             ? TransferStatus::Gone
                             : TransferStatus::NotFound;
        return nullptr;
    }
    m_lastTransfer = TransferStatus::Gone;
    return nullptr;
}

void CHidLink::Failed(bool write, TransferStatus status) {
    m_lastTransfer = status;
    if (!m_tracer) return;
    if (!write && status == TransferStatus::Timeout)
        m_tracer->OnReadTimeout(m_operation);
    else
        m_tracer->OnTransferFailed(m_operation, write, status);
}

TransferStatus CHidLink::ErrorOrGone(const std::string& path) {
    for (const HidInterfaceInfo& info : m_port.Enumerate())
        if (info.path == path) return TransferStatus::Error;
    return TransferStatus::Gone;
}

void CHidLink::WriteReport(const uint8_t* payload, uint8_t count) {
    std::unique_ptr<HidHandle> handle = OpenForTransfer();
    if (!handle) {
        if (m_lastTransfer != TransferStatus::NotPresent) Failed(true, m_lastTransfer);
        return;
    }
    std::array<uint8_t, REPORT_BUFFER_LEN + 1> report{};
    const size_t length = handle->OutputReportLength();
    report[0] = 0;
    std::copy_n(payload, std::min<size_t>(count, REPORT_BUFFER_LEN), report.begin() + 1);
    if (m_tracer) m_tracer->OnReportWritten(m_operation, payload, count);
    if (handle->Write(report.data(), length, WRITE_WAIT_MS)) {
        m_lastTransfer = TransferStatus::Ok;
        return;
    }
    // Callers still judge by the answer; the reason goes to the trace.
    Failed(true,
           handle->LastWriteTimedOut() ? TransferStatus::Timeout : ErrorOrGone(m_opened.path));
}

void CHidLink::ReadReport(uint8_t* dest, uint8_t count, const AnswerFilter& accepts) {
    std::unique_ptr<HidHandle> handle = OpenForTransfer();
    if (!handle) {
        if (m_lastTransfer != TransferStatus::NotPresent) Failed(false, m_lastTransfer);
        return;
    }
    std::array<uint8_t, REPORT_BUFFER_LEN + 1> report{};
    const size_t length = handle->InputReportLength();
    const size_t n = std::min<size_t>(count, length > 0 ? length - 1 : 0);
    const int64_t deadline = m_clock.NowMs() + READ_WAIT_MS;
    for (int64_t wait = READ_WAIT_MS; wait > 0; wait = deadline - m_clock.NowMs()) {
        // Bytes past what the device sent (a short report) read as zeros.
        report.fill(0);
        const int got = handle->Read(report.data(), length, static_cast<int>(wait));
        if (got <= 0) {
            Failed(false, got == 0 ? TransferStatus::Timeout : ErrorOrGone(m_opened.path));
            return;
        }
        if (!accepts || accepts(report.data() + 1, n)) {
            std::copy_n(report.begin() + 1, n, dest);
            m_lastTransfer = TransferStatus::Ok;
            if (m_tracer) m_tracer->OnReportRead(m_operation, dest, n);
            return;
        }
        if (m_tracer) m_tracer->OnReportDropped(m_operation, report.data() + 1, n);
    }
    Failed(false, TransferStatus::Timeout);
}

}  // namespace dev
