#pragma once
// Stands in for the platform's asynchronous key state. A key counts as down
// from its press until it is released or until the dialog has acted on it
// (the "wait for release" of the key hook), so the hook acts once per
// physical press. The auto-repeat of a key the dialog has acted on is the
// same press: Press says so, and the toolkit then delivers it to no one.

#include <array>
#include <bitset>
#include <cstdint>

namespace tk {

class KeyState {
  public:
    // A press event from the toolkit; time is the platform's event time (0
    // when it has none). Returns false when it only repeats a press the
    // dialog has already acted on (flagged as auto-repeat, arriving while the
    // key is still held, or carrying the time of the key's last release: an
    // X server repeats a key as a release and a press of the same time, which
    // a toolkit cannot always pair up): the key stays up and the event goes to
    // neither the hook nor any control. Returns true otherwise.
    bool Press(uint8_t vk, bool autoRepeat = false, uint64_t time = 0);
    // A release event from the toolkit.
    void Release(uint8_t vk, uint64_t time = 0);
    // True while the key counts as down (the platform's nonzero key state).
    // VK_SHIFT, VK_CONTROL and VK_MENU are down while either side is.
    bool IsDown(uint8_t vk) const;
    // The dialog has acted on the key: it counts as up until its next real
    // press (for VK_SHIFT, VK_CONTROL and VK_MENU, both sides).
    void WaitForRelease(uint8_t vk);
    void Clear();

  private:
    std::bitset<256> m_down;
    std::bitset<256> m_held;  // physically down: pressed, not yet released
    std::bitset<256> m_actedWhileHeld;
    std::bitset<256> m_actedAtRelease;  // what m_actedWhileHeld held at the last release
    std::array<uint64_t, 256> m_releaseTime{};
};

// The side-independent key of a left or right Shift, Ctrl or Alt key
// (VK_SHIFT for VK_RSHIFT); any other key itself.
uint8_t EitherSideOf(uint8_t vk);

}  // namespace tk
