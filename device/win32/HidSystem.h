#pragma once
// The Win32 calls under Win32HidPort (SetupAPI, hid.dll and overlapped file
// I/O), behind one interface so that tests can put a device of their own
// making there: one that times out, writes half a report or goes away.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/win32/Win32Api.h"

namespace dev::win32 {

// A present interface of the HID class and the device instance it belongs to.
struct HidInterfaceEntry {
    std::wstring path;
    std::wstring instanceId;  // SetupAPI's, e.g. HID\VID_016C&PID_04F3\7&1A2B3C4D&0&0000
};

enum class TransferStart { Completed, Pending, Failed };

class HidSystem {
  public:
    virtual ~HidSystem() = default;
    // Every present interface of the HID class, in SetupAPI's order.
    virtual std::vector<HidInterfaceEntry> Interfaces() = 0;
    // CreateFileW with shared reading and writing. INVALID_HANDLE_VALUE on
    // failure, with GetLastError's code in *error.
    virtual HANDLE Open(const std::wstring& path, DWORD access, DWORD flags, DWORD* error) = 0;
    virtual void Close(HANDLE device) = 0;
    // HidD_GetAttributes: false when the ids cannot be read.
    virtual bool Attributes(HANDLE device, uint16_t* vendorId, uint16_t* productId) = 0;
    // HidD_GetSerialNumberString: empty when the device reports none.
    virtual std::wstring SerialNumber(HANDLE device) = 0;
    // HidP_GetCaps' report lengths: false when they cannot be read.
    virtual bool ReportLengths(HANDLE device, size_t* input, size_t* output) = 0;
    // Starts an overlapped ReadFile or WriteFile of length bytes; the buffer
    // and ov stay the caller's until the transfer has ended. On Failed,
    // GetLastError's code is in *error.
    virtual TransferStart Start(HANDLE device, bool read, uint8_t* buffer, DWORD length,
                                OVERLAPPED* ov, DWORD* error) = 0;
    // Waits up to ms for ov's event: true when the transfer has ended.
    virtual bool Wait(OVERLAPPED* ov, DWORD ms) = 0;
    // CancelIo: asks every transfer of this thread on device to end.
    virtual void Cancel(HANDLE device) = 0;
    // GetOverlappedResult: the bytes moved, false when the transfer failed
    // (or, with wait false, has not ended).
    virtual bool Result(HANDLE device, OVERLAPPED* ov, DWORD* moved, bool wait) = 0;
};

// The system's own calls.
HidSystem& SystemHidCalls();

}  // namespace dev::win32
