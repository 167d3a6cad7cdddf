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
    // This attachment of the device: another device plugged in later gets
    // another instance even when it gets the same path (hidraw reuses node
    // numbers). Empty when the platform cannot tell; the path alone counts then.
    std::string instance = {};
    // The serial number the device reports (UTF-8); empty when it reports none.
    std::string serial = {};
    int interfaceNumber = -1;  // the USB interface; -1 when the platform cannot tell
};

// Whether two listings name the same attachment of the same interface.
inline bool SameAttachment(const HidInterfaceInfo& a, const HidInterfaceInfo& b) {
    return a.path == b.path && a.instance == b.instance;
}

enum class OpenError { None, NotFound, AccessDenied, Other };

// One open device. Closing happens in the destructor; a pending transfer is
// cancelled before the handle goes away.
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Report lengths including the leading report-id byte (65 for the reader).
    virtual size_t InputReportLength() const = 0;
    virtual size_t OutputReportLength() const = 0;
    // True when a top-level collection of the device is a keyboard or
    // keypad (usage page 1, usage 6 or 7): its interface never carries the
    // settings. Platforms that cannot tell say false; the report lengths still
    // tell a keyboard's short reports from the reader's.
    virtual bool HasKeyboardUsage() const { return false; }
    // Writes one output report (report[0] is the report id). Waits at most
    // timeoutMs for it to go out; returns false on error or timeout, in which
    // case the write has been given up (cancelled, or left to finish without
    // the caller).
    virtual bool Write(const uint8_t* report, size_t length, int timeoutMs) = 0;
    // Why the last Write returned false: true when its time ran out, false
    // for an error. Platforms that cannot tell say false.
    virtual bool LastWriteTimedOut() const { return false; }
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
