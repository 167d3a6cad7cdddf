#pragma once
// Report lengths from a HID report descriptor, as the platform's HID
// capabilities give them: the longest input and output report in bytes,
// plus one for the leading report-id byte (which is there even when the
// device does not number its reports).

#include <cstddef>
#include <cstdint>
#include <optional>

namespace dev {

struct ReportLengths {
    size_t input = 0;       // 0: the device has no input report
    size_t output = 0;      // 0: the device has no output report
    bool numbered = false;  // the reports begin with a report id on the wire
    // A top-level application collection is a keyboard or keypad (generic
    // desktop usage 6 or 7): the interface of a device that types.
    bool keyboard = false;
};

// The largest descriptor the kernel hands out.
constexpr size_t MAX_REPORT_DESCRIPTOR_LEN = 4096;

// Parses a descriptor of size bytes. nullopt when it is cut off inside an
// item or nests more pushes than a descriptor may; never reads past size.
std::optional<ReportLengths> ParseReportLengths(const uint8_t* data, size_t size);

}  // namespace dev
