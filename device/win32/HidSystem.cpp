#include "device/win32/HidSystem.h"

// After windows.h.
// mingw-w64's HID header declares C functions without extern "C".
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

namespace dev::win32 {
namespace {

// A USB string descriptor holds at most 126 UTF-16 characters.
constexpr size_t SERIAL_CHARS = 127;

class SystemCalls : public HidSystem {
  public:
    std::vector<HidInterfaceEntry> Interfaces() override {
        std::vector<HidInterfaceEntry> found;
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
            SP_DEVINFO_DATA device{};
            device.cbSize = sizeof(device);
            if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, required, nullptr, &device))
                continue;
            HidInterfaceEntry entry;
            entry.path = detail->DevicePath;
            DWORD idLength = 0;
            SetupDiGetDeviceInstanceIdW(set, &device, nullptr, 0, &idLength);
            if (idLength > 0) {
                std::wstring id(idLength, L'\0');
                if (SetupDiGetDeviceInstanceIdW(set, &device, id.data(), idLength, nullptr))
                    entry.instanceId = id.c_str();
            }
            found.push_back(std::move(entry));
        }
        SetupDiDestroyDeviceInfoList(set);
        return found;
    }

    HANDLE Open(const std::wstring& path, DWORD access, DWORD flags, DWORD* error) override {
        HANDLE device = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, flags, nullptr);
        if (device == INVALID_HANDLE_VALUE && error) *error = GetLastError();
        return device;
    }

    void Close(HANDLE device) override { CloseHandle(device); }

    bool Attributes(HANDLE device, uint16_t* vendorId, uint16_t* productId) override {
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof(attributes);
        if (!HidD_GetAttributes(device, &attributes)) return false;
        *vendorId = attributes.VendorID;
        *productId = attributes.ProductID;
        return true;
    }

    std::wstring SerialNumber(HANDLE device) override {
        wchar_t serial[SERIAL_CHARS + 1] = {};
        if (!HidD_GetSerialNumberString(device, serial, sizeof(wchar_t) * SERIAL_CHARS)) return {};
        return serial;
    }

    bool ReportLengths(HANDLE device, size_t* input, size_t* output) override {
        PHIDP_PREPARSED_DATA data = nullptr;
        if (!HidD_GetPreparsedData(device, &data)) return false;
        HIDP_CAPS caps{};
        const bool ok = HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS;
        HidD_FreePreparsedData(data);
        if (!ok) return false;
        *input = caps.InputReportByteLength;
        *output = caps.OutputReportByteLength;
        return true;
    }

    TransferStart Start(HANDLE device, bool read, uint8_t* buffer, DWORD length, OVERLAPPED* ov,
                        DWORD* error) override {
        const BOOL done = read ? ReadFile(device, buffer, length, nullptr, ov)
                               : WriteFile(device, buffer, length, nullptr, ov);
        if (done) return TransferStart::Completed;
        const DWORD why = GetLastError();
        if (why == ERROR_IO_PENDING) return TransferStart::Pending;
        if (error) *error = why;
        return TransferStart::Failed;
    }

    bool Wait(OVERLAPPED* ov, DWORD ms) override {
        return WaitForSingleObject(ov->hEvent, ms) == WAIT_OBJECT_0;
    }

    void Cancel(HANDLE device) override { CancelIo(device); }

    bool Result(HANDLE device, OVERLAPPED* ov, DWORD* moved, bool wait) override {
        return GetOverlappedResult(device, ov, moved, wait ? TRUE : FALSE) != FALSE;
    }
};

}  // namespace

HidSystem& SystemHidCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace dev::win32
