// Read Config: asking the keypad for its codes and showing them as names,
// and the repair frame for a keypad that does not answer.

#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/ButtonBusy.h"
#include "app/keypad/KeyFieldNames.h"
#include "app/keypad/KeypadTexts.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"

using namespace ids;

void CReaderConfigDlg::ReadKeyboardConfig() {
    // The view switch calls this before its view is shown, after its own
    // probe has loaded g_keyCodesIn: then only the fields are filled.
    if (g_bKeyboardView) {
        kp::ButtonBusy busy(m_ui, IDC_READ_CONFIG);
        dev::DeviceBindingScope binding(m_link);
        const KeypadProbeResult result = ProbeKeypad();
        std::string message;
        switch (result) {
            case KP_NO_ANSWER:
                message = kp::texts::READ_FAILED;
                RepairKeypad();
                message += "\r\n";
                message += kp::texts::REPAIR_SENT.Get();
                break;
            case KP_KEYPAD:
                message = kp::texts::READ_OK;
                break;
            case KP_NOT_KEYPAD:
            case KP_SETTINGS_ECHO:
                message = kp::texts::NOT_SUPPORTED;
                break;
        }
        AppendOutput(message);
        if (result != KP_KEYPAD) return;
    }
    FillKeyFields();
}

void CReaderConfigDlg::RepairKeypad() {
    reader::OfferComputerSlow(m_ui, kp::texts::SLOW_READ_PROMPT);
    // The answer is not looked at: only the next read tells what the keypad holds.
    m_session.WriteKeyCodes(DEFAULT_KEY_CODES, Policy());
}

void CReaderConfigDlg::FillKeyFields() {
    g_bKeyFieldsFilled = 0;
    // Mirrors the flag into its own box. The ID-card middle separator box is
    // left alone: its state is a reader setting that Set Device sends.
    m_ui.SetChecked(IDC_AUTO_KEYBOARD, g_bAutoKeyboardConfig != 0);
    for (int i = 0; i < KEYPAD_KEY_COUNT; ++i) {
        const uint8_t code = g_keyCodesIn[static_cast<size_t>(i)];
        // The code's own byte; 0x00 is no character and shows an empty field.
        const std::string own = code ? std::string(1, static_cast<char>(code)) : std::string();
        m_ui.SetText(KeyFieldId(i + 1), tk::GbkToUtf8(KeyCodeToName(own, i)));
    }
    g_bKeyFieldsFilled = 1;
}
