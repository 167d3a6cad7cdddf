#include "device/win32/Win32HidPort.h"

#include "toolkit/win32/Win32Api.h"

// After windows.h.
// mingw-w64's HID header declares C functions without extern "C".
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace dev {
namespace {

using tk::win32::Utf8;
using tk::win32::Wide;

// One Win32 handle, closed with its owner.
class Handle {
  public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~Handle() {
        if (Valid()) CloseHandle(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE Get() const { return m_h; }

  private:
    HANDLE m_h;
};

// Report lengths from the device's capabilities; false when they cannot be read.
bool ReportLengths(HANDLE device, size_t& input, size_t& output) {
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(device, &data)) return false;
    HIDP_CAPS caps{};
    const bool ok = HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS;
    HidD_FreePreparsedData(data);
    if (!ok) return false;
    input = caps.InputReportByteLength;
    output = caps.OutputReportByteLength;
    return true;
}

class Win32HidHandle : public HidHandle {
  public:
    Win32HidHandle(HANDLE device, size_t input, size_t output)
        : m_device(device), m_input(input), m_output(output) {}

    size_t InputReportLength() const override { return m_input; }
    size_t OutputReportLength() const override { return m_output; }

    bool Write(const uint8_t* report, size_t length, int timeoutMs) override {
        // The device takes exactly its output report length.
        std::vector<uint8_t> buffer(std::max(length, m_output), 0);
        std::memcpy(buffer.data(), report, length);
        return Transfer(false, buffer, m_output, timeoutMs) >= 0;
    }

    int Read(uint8_t* report, size_t capacity, int timeoutMs) override {
        std::vector<uint8_t> buffer(std::max<size_t>(m_input, 1), 0);
        const int got = Transfer(true, buffer, m_input, timeoutMs);
        if (got <= 0) return got;
        const size_t n = std::min(static_cast<size_t>(got), capacity);
        std::memcpy(report, buffer.data(), n);
        return static_cast<int>(n);
    }

  private:
    // One overlapped transfer of length bytes: the bytes moved, 0 on
    // timeout (cancelled), -1 on error. The buffer outlives the transfer.
    int Transfer(bool read, std::vector<uint8_t>& buffer, size_t length, int timeoutMs) {
        Handle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!event.Valid()) return -1;
        OVERLAPPED ov{};
        ov.hEvent = event.Get();
        const DWORD n = static_cast<DWORD>(length);
        const BOOL started = read ? ReadFile(m_device.Get(), buffer.data(), n, nullptr, &ov)
                                  : WriteFile(m_device.Get(), buffer.data(), n, nullptr, &ov);
        if (!started && GetLastError() != ERROR_IO_PENDING) return -1;
        const DWORD waited = WaitForSingleObject(event.Get(), static_cast<DWORD>(timeoutMs));
        if (waited != WAIT_OBJECT_0) {
            CancelIo(m_device.Get());
            DWORD ignored = 0;
            GetOverlappedResult(m_device.Get(), &ov, &ignored, TRUE);  // the cancellation ends
            return 0;
        }
        DWORD moved = 0;
        if (!GetOverlappedResult(m_device.Get(), &ov, &moved, FALSE)) return -1;
        return static_cast<int>(moved);
    }

    Handle m_device;
    size_t m_input;
    size_t m_output;
};

}  // namespace

std::vector<HidInterfaceInfo> Win32HidPort::Enumerate() {
    std::vector<HidInterfaceInfo> found;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set =
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof(iface);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &iface)) break;
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
        std::vector<uint8_t> storage(required);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, required, nullptr, nullptr))
            continue;
        // No access rights: enough for the attributes, and allowed on
        // devices the system keeps for itself.
        Handle device(CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
        if (!device.Valid()) continue;
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof(attributes);
        if (!HidD_GetAttributes(device.Get(), &attributes)) continue;
        found.push_back({Utf8(detail->DevicePath), attributes.VendorID, attributes.ProductID});
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

std::unique_ptr<HidHandle> Win32HidPort::Open(const std::string& path, OpenError* error) {
    auto fail = [error](OpenError why) {
        if (error) *error = why;
        return nullptr;
    };
    HANDLE device = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
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
    if (!ReportLengths(device, input, output)) {
        CloseHandle(device);
        return fail(OpenError::Other);
    }
    if (error) *error = OpenError::None;
    return std::make_unique<Win32HidHandle>(device, input, output);
}

}  // namespace dev
