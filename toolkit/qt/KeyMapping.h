#pragma once
// Qt's key identifiers as the virtual keys the dialog tests.

#include <cstdint>

namespace tk {

// The virtual key of a Qt::Key value: the special keys of KeyCodes.h, letters
// and digits as their upper-case characters; 0 for a key without one.
// nativeKey, the event's native virtual key (the keysym on X11 and Wayland),
// tells the left and right Shift, Ctrl, Alt and Windows keys apart, which
// Qt::Key does not (both Windows keys are Qt::Key_Meta on X11).
uint8_t VirtualKeyOf(int qtKey, uint32_t nativeKey = 0);

}  // namespace tk
