#pragma once
// One HID device made by this process through the kernel's /dev/uhid. The
// kernel binds a driver to it (hid-generic) and gives it a hidraw node,
// asynchronously: the node appears a little after Create returns.

#include <linux/uhid.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace e2e {

struct UhidIdentity {
    std::string name;
    uint16_t bus = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string uniq;  // the serial number the HID device reports; empty: none
};

class UhidDevice {
  public:
    // Opens /dev/uhid; IsOpen() tells whether that worked, Error() why not.
    UhidDevice();
    ~UhidDevice();  // destroys the device when it exists
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    const std::string& Error() const { return m_error; }
    bool Created() const { return m_created; }

    // UHID_CREATE2. False (Error() says why) on failure or when it exists.
    bool Create(const UhidIdentity& id, std::span<const uint8_t> descriptor);
    // UHID_DESTROY; true when there is no device afterwards.
    bool Destroy();
    // UHID_INPUT2: one input report as the device sends it (no report id here,
    // the descriptor has none).
    bool SendInput(const uint8_t* data, size_t size);
    // Reads one waiting event; false when none could be read.
    bool ReadEvent(uhid_event& ev);
    // Refuses a GET_REPORT or SET_REPORT request, which this device does not serve.
    bool RefuseRequest(const uhid_event& request);

  private:
    bool Send(const uhid_event& ev, const char* what);

    int m_fd = -1;
    bool m_created = false;
    std::string m_error;
};

}  // namespace e2e
