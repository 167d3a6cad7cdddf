// Profiles to and from the controls of the main dialog.

#include "app/profile/ProfileControls.h"

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/KeyFieldNames.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"

using namespace ids;

namespace profile {

Profile ProfileFromControls(const tk::DialogSurface& ui, bool withKeys) {
    Profile p = reader::ReadSettingsControls(ui);
    if (withKeys) {
        reader::KeyCodes codes{};
        for (int n = 1; n <= KEY_COUNT; ++n)
            codes[static_cast<size_t>(n - 1)] =
                KeyNameToCode(tk::Utf8ToGbk(ui.GetText(KeyFieldId(n))));
        p.keys = codes;
    }
    return p;
}

}  // namespace profile

// The user's way to a state: a box or radio button is clicked only when it
// is not in that state yet, and the click reaches the dialog as the toolkit
// would deliver it (after the toolkit has changed the check state).
namespace {

void ClickTo(CReaderConfigDlg& dlg, int id, bool checked) {
    tk::DialogSurface& ui = dlg.Surface();
    if (ui.IsChecked(id) == checked) return;
    ui.SetChecked(id, checked);
    dlg.OnCommand(id);
}

}  // namespace

void CReaderConfigDlg::LoadProfile(const profile::Profile& p) {
    using reader::Switch;
    if (p.idFormat >= 1 && p.idFormat <= reader::FORMAT_COUNT) {
        const int radio = reader::FormatRadio(p.idFormat);
        if (!m_ui.IsChecked(radio)) {
            for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
                m_ui.SetChecked(id, id == radio);
            OnCommand(radio);
        }
    }
    for (int index : reader::ID_SYMBOL_FIELDS) {
        ClickTo(*this, reader::IdSymbolBox(index), p.IdSymbolOn(index));
        m_ui.SetText(reader::FieldEdit(index), tk::GbkToUtf8(p.Text(index)));
    }
    for (Switch s : {Switch::Enter, Switch::Track1, Switch::Track2, Switch::Track3})
        ClickTo(*this, reader::SwitchBox(s), p.At(s));
    // The sentinel box puts its defaults into the fields, or empties them.
    ClickTo(*this, IDC_SENTINELS, p.sentinelsOn);
    if (p.sentinelsOn)
        for (int index : reader::SENTINEL_FIELDS)
            m_ui.SetText(reader::FieldEdit(index), tk::GbkToUtf8(p.Text(index)));
    // The whole-packet box ticks or clears the per-track boxes; these can be
    // clicked only while it is off.
    ClickTo(*this, IDC_CR_PACKET, p.crAfterPacket);
    if (!p.crAfterPacket)
        for (Switch s : {Switch::CrTrack1, Switch::CrTrack2, Switch::CrTrack3})
            ClickTo(*this, reader::SwitchBox(s), p.At(s));
    ClickTo(*this, IDC_FILTER_EQUALS, p.filterEquals);
}

void CReaderConfigDlg::LoadProfileKeys(const profile::Profile& p) {
    if (!p.keys) return;
    // Whole key names must survive the key fields' one-character rule, as
    // with Default Config.
    g_bKeyFieldsFilled = 0;
    for (int n = 1; n <= profile::KEY_COUNT; ++n)
        m_ui.SetText(KeyFieldId(n),
                     tk::GbkToUtf8(KeyCodeText((*p.keys)[static_cast<size_t>(n - 1)])));
    g_bKeyFieldsFilled = 1;
}
