#include "toolkit/qt/KeyMapping.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <Qt>

#include "toolkit/KeyCodes.h"

namespace tk {
namespace {

uint8_t SideKeyOf(uint32_t keysym) {
    switch (keysym) {
        case XKB_KEY_Shift_L:
            return VK_LSHIFT;
        case XKB_KEY_Shift_R:
            return VK_RSHIFT;
        case XKB_KEY_Control_L:
            return VK_LCONTROL;
        case XKB_KEY_Control_R:
            return VK_RCONTROL;
        // Shift+Alt gives Meta; AltGr layouts put Level 3 on the right Alt key.
        case XKB_KEY_Alt_L:
        case XKB_KEY_Meta_L:
            return VK_LMENU;
        case XKB_KEY_Alt_R:
        case XKB_KEY_Meta_R:
        case XKB_KEY_ISO_Level3_Shift:
            return VK_RMENU;
        case XKB_KEY_Super_L:
        case XKB_KEY_Hyper_L:
            return VK_LWIN;
        case XKB_KEY_Super_R:
        case XKB_KEY_Hyper_R:
            return VK_RWIN;
        default:
            return 0;
    }
}

}  // namespace

uint8_t VirtualKeyOf(int qtKey, uint32_t nativeKey) {
    if (const uint8_t side = SideKeyOf(nativeKey)) return side;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<uint8_t>(VK_F1 + (qtKey - Qt::Key_F1));
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<uint8_t>(qtKey);
    switch (qtKey) {
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_ScrollLock:
            return VK_SCROLL;
        case Qt::Key_Pause:
            return VK_PAUSE;
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_NumLock:
            return VK_NUMLOCK;
        // Shift+Tab arrives as Backtab; the key pressed is still Tab.
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_CapsLock:
            return VK_CAPITAL;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        case Qt::Key_Super_L:
        case Qt::Key_Meta:
            return VK_LWIN;
        case Qt::Key_Super_R:
            return VK_RWIN;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        default:
            return 0;
    }
}

}  // namespace tk
