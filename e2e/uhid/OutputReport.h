#pragma once
// What the device program makes of an output report the kernel hands it.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "sim/ReaderModel.h"

namespace e2e {

// The 64-byte frame inside an output report. Through uhid the report still
// carries the leading report id 0 (65 bytes), which real USB strips before
// the device sees it; both forms give the same frame. A shorter report is
// padded with zeros. nullopt for a report no host would send this device
// (longer than 65 bytes, or 65 bytes with a report id other than 0).
std::optional<sim::Frame> FrameFromOutput(const uint8_t* data, size_t size);

}  // namespace e2e
