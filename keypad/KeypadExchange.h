#pragma once
// How every keypad frame, and the settings read request the probe sends,
// goes over the link.

#include "device/HidLink.h"
#include "keypad/KeypadFrame.h"

namespace kp {

// Writes buffer twice, then reads `reads` reports into it. A read that gets
// nothing leaves the buffer as it was, so a silent device leaves the request
// itself there.
void Exchange(dev::CHidLink& link, Frame& buffer, int reads);

}  // namespace kp
