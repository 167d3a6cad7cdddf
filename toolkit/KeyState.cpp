#include "toolkit/KeyState.h"

#include "toolkit/KeyCodes.h"

namespace tk {
namespace {

// A key and the keys it stands for: VK_SHIFT is both Shift keys.
struct Keys {
    uint8_t vk[3];
    int count;
};

Keys KeysOf(uint8_t vk) {
    switch (vk) {
        case VK_SHIFT:
            return {{VK_SHIFT, VK_LSHIFT, VK_RSHIFT}, 3};
        case VK_CONTROL:
            return {{VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, 3};
        case VK_MENU:
            return {{VK_MENU, VK_LMENU, VK_RMENU}, 3};
        default:
            return {{vk, 0, 0}, 1};
    }
}

}  // namespace

uint8_t EitherSideOf(uint8_t vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return vk;
    }
}

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

bool KeyState::IsDown(uint8_t vk) const {
    const Keys keys = KeysOf(vk);
    for (int i = 0; i < keys.count; ++i)
        if (m_down.test(keys.vk[i])) return true;
    return false;
}

void KeyState::WaitForRelease(uint8_t vk) {
    const Keys keys = KeysOf(vk);
    for (int i = 0; i < keys.count; ++i) {
        const uint8_t k = keys.vk[i];
        if (k != vk && !m_held.test(k)) continue;
        m_down.reset(k);
        m_actedWhileHeld.set(k);
    }
}

void KeyState::Clear() {
    m_down.reset();
    m_held.reset();
    m_actedWhileHeld.reset();
    m_actedAtRelease.reset();
    m_releaseTime.fill(0);
}

}  // namespace tk
