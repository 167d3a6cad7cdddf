// Switching between the general and the keyboard settings view, and the two
// keypad options.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/KeypadTexts.h"
#include "app/keypad/ViewTexts.h"

using namespace ids;

void CReaderConfigDlg::ToggleView() {
    if (!g_bKeyboardView)
        SwitchToKeyboardView();
    else
        SwitchToGeneralView();
    RebuildMenuBar();
}

void CReaderConfigDlg::SwitchToKeyboardView() {
    std::string message;
    if (g_bDeviceConnected != 1) {
        message = viewtexts::CONNECT_FIRST;
    } else {
        dev::DeviceBindingScope binding(m_link);
        switch (ProbeKeypad()) {
            case KP_KEYPAD:
                ShowView(0);
                ReadKeyboardConfig();  // the view flag is still 0: fills the fields only
                ShowKeyboardTips();
                message = viewtexts::TO_KEYBOARD_OK;
                g_bKeyboardView = 1;
                break;
            case KP_NOT_KEYPAD:
            case KP_SETTINGS_ECHO:
                message = kp::texts::NOT_SUPPORTED;
                break;
            case KP_NO_ANSWER:
                message = viewtexts::READ_ERROR;
                RepairKeypad();
                message += "\r\n";
                message += viewtexts::REPAIR_SENT;
                break;
        }
    }
    AppendOutput(message);
}

void CReaderConfigDlg::SwitchToGeneralView() {
    ShowView(1);
    AppendOutput(viewtexts::TO_GENERAL_OK);
    g_bKeyboardView = 0;
}

void CReaderConfigDlg::OnAutoKeyboardConfig() {
    g_bAutoKeyboardConfig = m_ui.IsChecked(IDC_AUTO_KEYBOARD) ? 1 : 0;
}

void CReaderConfigDlg::OnShieldControlKeys() {
    AppendOutput(m_ui.IsChecked(IDC_SHIELD_KEYS) ? viewtexts::KEYS_SHIELDED
                                                 : viewtexts::KEYS_UNSHIELDED);
}
