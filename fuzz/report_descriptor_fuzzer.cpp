// The report-descriptor parser on arbitrary bytes, as sysfs may hand them
// over: it never reads past the end, never loops without end, and what it
// finds is within what a descriptor of that size can describe.

#include <cstdint>

#include "Check.h"
#include "device/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > dev::MAX_REPORT_DESCRIPTOR_LEN) return 0;
    const auto lengths = dev::ParseReportLengths(data, size);
    if (!lengths) return 0;
    // No report is longer than 2^32 bits, plus the report id byte.
    constexpr size_t LIMIT = (size_t{1} << 29) + 1;
    FUZZ_CHECK(lengths->input <= LIMIT && lengths->output <= LIMIT);
    // A report needs a main item: an empty descriptor describes none.
    if (size == 0) FUZZ_CHECK(lengths->input == 0 && lengths->output == 0 && !lengths->keyboard);
    // The same bytes give the same answer.
    const auto again = dev::ParseReportLengths(data, size);
    FUZZ_CHECK(again && again->input == lengths->input && again->output == lengths->output &&
               again->numbered == lengths->numbered && again->keyboard == lengths->keyboard);
    return 0;
}
