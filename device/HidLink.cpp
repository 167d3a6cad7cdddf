#include "device/HidLink.h"

#include <algorithm>
#include <array>

namespace dev {

CHidLink::CHidLink(HidPort& port, DeviceWatcher& watcher) : m_port(port), m_watcher(watcher) {}

CHidLink::~CHidLink() {
    if (m_hDevNotify) m_watcher.Unregister();
}

std::unique_ptr<HidHandle> CHidLink::FindDevice() {
    FindStatus status = FindStatus::NotFound;
    AccessDenial denial = AccessDenial::Unknown;
    for (const HidInterfaceInfo& info : m_port.Enumerate()) {
        // Ids come from the enumeration: other devices are never opened.
        if (info.vendorId != VENDOR_ID || info.productId != PRODUCT_ID) continue;
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
        if (handle->InputReportLength() > REPORT_BUFFER_LEN ||
            handle->OutputReportLength() > REPORT_BUFFER_LEN) {
            if (status == FindStatus::NotFound) status = FindStatus::Unsupported;
            continue;
        }
        m_lastFindStatus = FindStatus::Found;
        m_lastDenial = AccessDenial::Unknown;
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

void CHidLink::WriteReport(const uint8_t* payload, uint8_t count) {
    if (!m_bPresent) return;
    std::unique_ptr<HidHandle> handle = FindDevice();
    if (!handle) return;
    std::array<uint8_t, REPORT_BUFFER_LEN + 1> report{};
    const size_t length = handle->OutputReportLength();
    report[0] = 0;
    std::copy_n(payload, std::min<size_t>(count, REPORT_BUFFER_LEN), report.begin() + 1);
    if (m_tracer) m_tracer->OnReportWritten(m_operation, payload, count);
    // The outcome is not examined: callers learn success from the answer.
    (void)handle->Write(report.data(), length, WRITE_WAIT_MS);
}

void CHidLink::ReadReport(uint8_t* dest, uint8_t count) {
    if (!m_bPresent) return;
    std::unique_ptr<HidHandle> handle = FindDevice();
    if (!handle) return;
    std::array<uint8_t, REPORT_BUFFER_LEN + 1> report{};
    const size_t length = handle->InputReportLength();
    const int got = handle->Read(report.data(), length, READ_WAIT_MS);
    if (got <= 0) {
        if (m_tracer) m_tracer->OnReadTimeout(m_operation);
        return;
    }
    // Bytes past what the device sent (a short report) read as zeros.
    const size_t n = std::min<size_t>(count, length > 0 ? length - 1 : 0);
    std::copy_n(report.begin() + 1, n, dest);
    if (m_tracer) m_tracer->OnReportRead(m_operation, dest, n);
}

}  // namespace dev
