#include "toolkit/KeyState.h"

namespace tk {

bool KeyState::Press(uint8_t vk, bool autoRepeat, uint64_t time) {
    const bool pairedWithRelease = time != 0 && m_releaseTime[vk] == time;
    if (pairedWithRelease && m_actedAtRelease.test(vk)) m_actedWhileHeld.set(vk);
    const bool repeat = autoRepeat || m_held.test(vk) || pairedWithRelease;
    m_held.set(vk);
    if (repeat && m_actedWhileHeld.test(vk)) return false;
    m_down.set(vk);
    return true;
}

void KeyState::Release(uint8_t vk, uint64_t time) {
    m_releaseTime[vk] = time;
    m_actedAtRelease.set(vk, m_actedWhileHeld.test(vk));
    m_down.reset(vk);
    m_held.reset(vk);
    m_actedWhileHeld.reset(vk);
}

void KeyState::WaitForRelease(uint8_t vk) {
    m_down.reset(vk);
    m_actedWhileHeld.set(vk);
}

void KeyState::Clear() {
    m_down.reset();
    m_held.reset();
    m_actedWhileHeld.reset();
    m_actedAtRelease.reset();
    m_releaseTime.fill(0);
}

}  // namespace tk
