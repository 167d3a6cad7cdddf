// Default Setting: the factory values of the general settings view.

#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"

using namespace ids;

namespace {

std::string DefaultText(int index) {
    return std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(index)]);
}

}  // namespace

void CReaderConfigDlg::RestoreDefaults() {
    m_ui.SetChecked(IDC_COMPUTER_SLOW, false);
    m_ui.SetChecked(IDC_SHIELD_KEYS, true);
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
        m_ui.SetChecked(id, id == IDC_FORMAT_FIRST);
    for (int index : reader::ID_SYMBOL_FIELDS) m_ui.SetChecked(reader::IdSymbolBox(index), false);
    m_ui.SetChecked(IDC_ENTER_AFTER, true);
    for (int index : reader::ID_SYMBOL_FIELDS)
        m_ui.SetText(reader::FieldEdit(index), DefaultText(index));
    m_ui.SetChecked(IDC_SENTINELS, true);
    for (int index : reader::SENTINEL_FIELDS)
        m_ui.SetText(reader::FieldEdit(index), DefaultText(index));
    for (int id : SENTINEL_EDITS) m_ui.SetEnabled(id, true);
    for (int id : {IDC_TRACK1, IDC_TRACK2, IDC_TRACK3}) m_ui.SetChecked(id, true);
    m_ui.SetChecked(IDC_FILTER_EQUALS, false);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) {
        m_ui.SetEnabled(id, false);
        m_ui.SetChecked(id, false);
    }
    m_ui.SetChecked(IDC_CR_PACKET, true);
    m_ui.SetChecked(IDC_CHINESE, !g_bEnglish);
    m_ui.SetChecked(IDC_ENGLISH, g_bEnglish != 0);

    // Start-up applies the factory values silently.
    if (g_bDefaultsApplied) AppendOutput(reader_texts::DEFAULTS_RESTORED);
    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
    g_bDefaultsApplied = 1;
}
