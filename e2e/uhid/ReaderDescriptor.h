#pragma once
// The report descriptor the device program gives the kernel: one vendor-defined
// collection with a 64-byte input report and a 64-byte output report and no
// report ids, so hidraw shows 65-byte reports (id 0 plus payload) as the USB
// reader does.

#include <array>
#include <cstdint>

namespace e2e {

inline constexpr std::array<uint8_t, 34> READER_REPORT_DESCRIPTOR = {
    0x06, 0x00, 0xFF,  // Usage Page (vendor defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x09, 0x02,        //   Usage (2)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x03,        //   Usage (3)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// A boot keyboard: the interface a typing reader also shows, with the same
// vendor and product id. 8-byte input, 1-byte output (the LEDs).
inline constexpr std::array<uint8_t, 63> KEYBOARD_REPORT_DESCRIPTOR = {
    0x05, 0x01,                                                  // Usage Page (generic desktop)
    0x09, 0x06,                                                  // Usage (keyboard)
    0xA1, 0x01,                                                  // Collection (Application)
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,  //   modifier keys
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                          //   8 bits of input
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                          //   reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05,  //   LEDs
    0x91, 0x02,                                                  //   5 bits of output
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                          //   padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07,  //   6 key codes
    0x19, 0x00, 0x29, 0x65, 0x81, 0x00,                          //
    0xC0,                                                        // End Collection
};

}  // namespace e2e
