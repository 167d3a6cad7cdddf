#include "keypad/KeypadExchange.h"

namespace kp {

void Exchange(dev::CHidLink& link, Frame& buffer, int reads) {
    const auto count = static_cast<uint8_t>(buffer.size());
    link.WriteReport(buffer.data(), count);
    link.WriteReport(buffer.data(), count);
    for (int i = 0; i < reads; ++i) link.ReadReport(buffer.data(), count);
}

}  // namespace kp
