#include "e2e/uhid/OutputReport.h"

#include <algorithm>

namespace e2e {

std::optional<sim::Frame> FrameFromOutput(const uint8_t* data, size_t size) {
    sim::Frame frame{};
    if (size == frame.size() + 1) {
        if (data[0] != 0) return std::nullopt;
        ++data;
        --size;
    }
    if (size > frame.size()) return std::nullopt;
    std::copy_n(data, size, frame.begin());
    return frame;
}

}  // namespace e2e
