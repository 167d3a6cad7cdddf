// Config keyboard: probing for a keypad, writing the 20 key codes, and the
// keypad's own batch mode.

#include <array>
#include <cstdio>
#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/LanguageTexts.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/ButtonBusy.h"
#include "app/keypad/KeypadTexts.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"

using namespace ids;

KeypadProbeResult CReaderConfigDlg::ProbeKeypad() {
    const core::KeypadProbe probe = m_session.ProbeKeypad(Policy());
    switch (probe.status) {
        case core::KeypadStatus::Keypad:
            g_keyCodesIn = probe.codes;
            return KP_KEYPAD;
        case core::KeypadStatus::NotKeypad:
            return KP_NOT_KEYPAD;
        case core::KeypadStatus::SettingsEcho:
            return KP_SETTINGS_ECHO;
        case core::KeypadStatus::NoAnswer:
            break;
    }
    return KP_NO_ANSWER;
}

bool CReaderConfigDlg::WriteKeyCodes() {
    return m_session.WriteKeyCodes(g_keyCodesOut, Policy());
}

void CReaderConfigDlg::ConfigKeyboard() {
    kp::ButtonBusy busy(m_ui, IDC_CONFIG_KEY);
    // One keypad from the probe to the codes.
    dev::DeviceBindingScope binding(m_link);
    // A field whose first byte would not be what it shows stops everything.
    std::array<std::string, KEYPAD_KEY_COUNT> texts;
    for (int i = 0; i < KEYPAD_KEY_COUNT; ++i) {
        const std::string name = "KEY" + std::to_string(i + 1);
        const std::string refusal =
            reader::RefusalOf(m_ui.GetText(KeyFieldId(i + 1)), name, reader::FieldKind::KeyField,
                              &texts[static_cast<size_t>(i)]);
        if (!refusal.empty()) {
            AppendOutput(refusal);
            m_ui.MessageBox(refusal, reader_texts::REFUSED_CAPTION.Get(), tk::MsgBoxButtons::Ok);
            return;
        }
    }
    // The fields are taken over before anything is sent, so that a later Set
    // Device with automatic keyboard configuration sends them even when this
    // attempt finds no keypad.
    for (size_t i = 0; i < texts.size(); ++i) g_keyCodesOut[i] = KeyNameToCode(texts[i]);

    std::string message;
    bool configured = false;
    switch (ProbeKeypad()) {
        case KP_NO_ANSWER:
            message = kp::texts::CONFIG_INIT_FAILED;
            break;
        case KP_KEYPAD:
            if (!WriteKeyCodes()) {
                message = kp::texts::CONFIG_FAILED;
                reader::OfferComputerSlow(m_ui, reader_texts::SET_COMPUTER_SLOW);
            } else if (g_bKeyboardBatch) {
                ++g_nKeyboardBatchCount;
                g_bKeyboardBatchDone = 1;
                message = reader::BatchLine(g_nKeyboardBatchCount);
                configured = true;
            } else {
                message = kp::texts::CONFIG_OK;
            }
            break;
        case KP_NOT_KEYPAD:
        case KP_SETTINGS_ECHO:
            message = kp::texts::NOT_SUPPORTED;
            break;
    }
    if (g_bKeyboardBatch) RecordBatchDevice(configured, g_nKeyboardBatchCount);
    AppendOutput(message);
}

void CReaderConfigDlg::ToggleKeyboardBatch() {
    const bool starting = !g_bKeyboardBatch;
    // Batch mode owns these while it runs: every keypad gets the same fields.
    const bool enable = !starting;
    for (int id :
         {IDC_AUTO_KEYBOARD, IDC_KEYPAD_GROUP, IDC_CONFIG_KEY, IDC_DEFAULT_KEYS, IDC_READ_CONFIG})
        m_ui.SetEnabled(id, enable);
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) m_ui.SetEnabled(KeyFieldId(n), enable);
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n) m_ui.SetEnabled(KeyGroupId(n), enable);

    if (starting) {
        m_ui.SetText(IDC_KEYPAD_BATCH, ::texts::BATCH_STOP);
        g_nKeyboardBatchCount = 0;
        g_bKeyboardBatchDone = 0;
        g_bKeyboardBatch = 1;
        ConfigKeyboard();
    } else {
        m_ui.SetText(IDC_KEYPAD_BATCH, ::texts::BATCH_START);
        g_bKeyboardBatch = 0;
    }
    RebuildMenuBar();
}
