#pragma once
// The virtual key of a KeyboardEvent.code: the physical key, so the left and
// right Shift, Ctrl and Alt keys are told apart as the key fields need.

#include <cstdint>
#include <string>

namespace tk {

// 0 for a key the dialog has no virtual key for.
uint8_t VirtualKeyOfCode(const std::string& code);

}  // namespace tk
