#pragma once
// Qt's key identifiers as the virtual keys the dialog tests.

#include <cstdint>

namespace tk {

// The virtual key of a Qt::Key value: the special keys of KeyCodes.h, letters
// and digits as their upper-case characters; 0 for a key without one.
uint8_t VirtualKeyOf(int qtKey);

}  // namespace tk
