#include "device/win32/Win32HidPort.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace dev {
namespace {

using tk::win32::Utf8;
using tk::win32::Wide;

// One handle of the HID system, closed with its owner.
class Handle {
  public:
    Handle(win32::HidSystem& system, HANDLE h) : m_system(system), m_h(h) {}
    ~Handle() {
        if (Valid()) m_system.Close(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE Get() const { return m_h; }

  private:
    win32::HidSystem& m_system;
    HANDLE m_h;
};

// The event an overlapped transfer signals.
class Event {
  public:
    Event() : m_h(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() {
        if (m_h) CloseHandle(m_h);
    }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE Get() const { return m_h; }

  private:
    HANDLE m_h;
};

class Win32HidHandle : public HidHandle {
  public:
    Win32HidHandle(win32::HidSystem& system, HANDLE device, size_t input, size_t output)
        : m_system(system), m_device(system, device), m_input(input), m_output(output) {}

    size_t InputReportLength() const override { return m_input; }
    size_t OutputReportLength() const override { return m_output; }

    // The device takes exactly its output report length: a shorter report is
    // padded with zeros, a longer one refused. Only the whole report
    // written is success.
    bool Write(const uint8_t* report, size_t length, int timeoutMs) override {
        m_timedOut = false;
        if (!report || length == 0 || length > m_output) return false;
        std::vector<uint8_t> buffer(m_output, 0);
        std::memcpy(buffer.data(), report, length);
        const Outcome out = Transfer(false, buffer, timeoutMs);
        m_timedOut = out.kind == Outcome::TimedOut;
        return out.kind == Outcome::Moved && out.bytes == m_output;
    }
    bool LastWriteTimedOut() const override { return m_timedOut; }

    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        if (!report || capacity == 0) return -1;
        std::vector<uint8_t> buffer(std::max<size_t>(m_input, 1), 0);
        const Outcome out = Transfer(true, buffer, timeoutMs);
        if (out.kind == Outcome::Failed) return -1;
        if (out.kind == Outcome::TimedOut || out.bytes == 0) return 0;
        const size_t n = std::min(out.bytes, capacity);
        std::memcpy(report, buffer.data(), n);
        return static_cast<int>(n);
    }

  private:
    struct Outcome {
        enum Kind { Moved, TimedOut, Failed } kind;
        size_t bytes;
    };

    // One overlapped transfer of the whole buffer. A transfer still pending
    // after timeoutMs is cancelled, and the cancellation waited for, since
    // the system writes into the buffer until then; one that completed
    // meanwhile counts as completed.
    Outcome Transfer(bool read, std::vector<uint8_t>& buffer, int timeoutMs) {
        Event event;
        if (!event.Get()) return {Outcome::Failed, 0};
        OVERLAPPED ov{};
        ov.hEvent = event.Get();
        DWORD error = 0;
        const win32::TransferStart start = m_system.Start(
            m_device.Get(), read, buffer.data(), static_cast<DWORD>(buffer.size()), &ov, &error);
        if (start == win32::TransferStart::Failed) return {Outcome::Failed, 0};
        DWORD moved = 0;
        if (start == win32::TransferStart::Pending &&
            !m_system.Wait(&ov, static_cast<DWORD>(std::max(0, timeoutMs)))) {
            m_system.Cancel(m_device.Get());
            if (m_system.Result(m_device.Get(), &ov, &moved, true) && moved > 0)
                return {Outcome::Moved, moved};
            return {Outcome::TimedOut, 0};
        }
        if (!m_system.Result(m_device.Get(), &ov, &moved, false)) return {Outcome::Failed, 0};
        return {Outcome::Moved, moved};
    }

    win32::HidSystem& m_system;
    Handle m_device;
    size_t m_input;
    size_t m_output;
    bool m_timedOut = false;
};

}  // namespace

int InterfaceNumberOfPath(const std::string& path) {
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t at = lower.find("&mi_");
    if (at == std::string::npos || at + 6 > lower.size()) return -1;
    const std::string digits = lower.substr(at + 4, 2);
    if (!std::isxdigit(static_cast<unsigned char>(digits[0])) ||
        !std::isxdigit(static_cast<unsigned char>(digits[1])))
        return -1;
    return std::stoi(digits, nullptr, 16);
}

std::vector<HidInterfaceInfo> Win32HidPort::Enumerate() {
    std::vector<HidInterfaceInfo> found;
    for (const win32::HidInterfaceEntry& entry : m_system.Interfaces()) {
        // No access rights: enough for the attributes and the serial number,
        // and allowed on devices the system keeps for itself.
        DWORD error = 0;
        Handle device(m_system, m_system.Open(entry.path, 0, 0, &error));
        if (!device.Valid()) continue;
        HidInterfaceInfo info;
        if (!m_system.Attributes(device.Get(), &info.vendorId, &info.productId)) continue;
        info.path = Utf8(entry.path);
        info.instance = Utf8(entry.instanceId);
        info.serial = Utf8(m_system.SerialNumber(device.Get()));
        info.interfaceNumber = InterfaceNumberOfPath(info.path);
        found.push_back(std::move(info));
    }
    return found;
}

std::unique_ptr<HidHandle> Win32HidPort::Open(const std::string& path, OpenError* error) {
    auto fail = [error](OpenError why) {
        if (error) *error = why;
        return nullptr;
    };
    DWORD code = 0;
    HANDLE device =
        m_system.Open(Wide(path), GENERIC_READ | GENERIC_WRITE, FILE_FLAG_OVERLAPPED, &code);
    if (device == INVALID_HANDLE_VALUE) {
        switch (code) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_DEVICE_NOT_CONNECTED:
                return fail(OpenError::NotFound);
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
                return fail(OpenError::AccessDenied);
            default:
                return fail(OpenError::Other);
        }
    }
    size_t input = 0, output = 0;
    if (!m_system.ReportLengths(device, &input, &output)) {
        m_system.Close(device);
        return fail(OpenError::Other);
    }
    if (error) *error = OpenError::None;
    return std::make_unique<Win32HidHandle>(m_system, device, input, output);
}

}  // namespace dev
