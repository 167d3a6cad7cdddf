#pragma once
// The platform operations CHidLink needs: enumerate HID interfaces, open one,
// learn its report lengths, write and read one report with a time limit.
// Implemented over hidapi (hidraw) for the tool and by sim::VirtualHidPort
// for tests and simulation mode.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/AccessDenial.h"

namespace dev {

struct HidInterfaceInfo {
    std::string path;  // what Open() takes
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

enum class OpenError { None, NotFound, AccessDenied, Other };

// One open device. Closing happens in the destructor; a pending transfer is
// cancelled before the handle goes away.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Report lengths including the leading report-id byte (65 for the reader).
    virtual size_t InputReportLength() const = 0;
    virtual size_t OutputReportLength() const = 0;
    // Writes one output report (report[0] is the report id). Waits at most
    // timeoutMs for it to go out; returns false on error or timeout, in which
    // case the write has been cancelled.
    virtual bool Write(const uint8_t* report, size_t length, int timeoutMs) = 0;
    // Reads one input report into report[0..capacity), report id first.
    // Returns the number of bytes stored, 0 when nothing arrived within
    // timeoutMs (the read has then been cancelled and report is untouched),
    // -1 on error (report untouched).
    virtual int Read(uint8_t* report, size_t capacity, int timeoutMs) = 0;
};

class HidPort {
  public:
    virtual ~HidPort() = default;
    // The HID interfaces present now, in a stable order. Ids come from the
    // enumeration, so no device needs to be opened to learn them.
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens a path for reading and writing. nullptr on failure, with the
    // reason in *error when error is not null.
    virtual std::unique_ptr<HidHandle> Open(const std::string& path, OpenError* error) = 0;
    // Why Open gave AccessDenied for path, as far as the platform can tell.
    virtual AccessDenial ExplainAccessDenied(const std::string& /*path*/) {
        return AccessDenial::Unknown;
    }
};

}  // namespace dev
