#pragma once
// Request and answer over the link, as the reader's protocol has them: every
// request goes out as one report per write; an answer is one input report.
// A report that cannot be the answer to the request just sent (the wrong
// kind letter for it, such as a late second answer of the exchange before)
// is dropped, and the read waits on for the rest of its time.

#include <array>
#include <cstdint>

#include "device/HidLink.h"

namespace core {

using Frame = std::array<uint8_t, dev::FRAME_LEN>;

// Whether answer may be the device's answer to request: the reader's and the
// keypad's answer letters for each kind of request. A request of no known
// kind takes any answer.
bool CouldAnswer(const Frame& request, const uint8_t* answer, size_t count);

// Writes request twice and reads `reads` answers into answer. A read that
// gets nothing leaves answer as it was, so a late second answer replaces the
// first only when it comes. answer may be request itself: a silent device
// then leaves the request in it.
void ExchangeTwice(dev::CHidLink& link, const Frame& request, Frame& answer, int reads);

// Writes request once and reads one answer into answer.
void ExchangeOnce(dev::CHidLink& link, const Frame& request, Frame& answer);

}  // namespace core
