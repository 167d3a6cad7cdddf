#include "toolkit/KeyState.h"

namespace tk {

void KeyState::Press(uint8_t vk, bool autoRepeat) {
    if (autoRepeat && m_actedWhileHeld.test(vk)) return;
    m_down.set(vk);
}

void KeyState::Release(uint8_t vk) {
    m_down.reset(vk);
    m_actedWhileHeld.reset(vk);
}

void KeyState::WaitForRelease(uint8_t vk) {
    m_down.reset(vk);
    m_actedWhileHeld.set(vk);
}

void KeyState::Clear() {
    m_down.reset();
    m_actedWhileHeld.reset();
}

}  // namespace tk
