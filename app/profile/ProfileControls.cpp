// Profiles to and from the controls of the main dialog.

#include "app/profile/ProfileControls.h"

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/SettingsControls.h"

using namespace ids;

namespace profile {
namespace {

constexpr int TRACK_BOXES[] = {IDC_TRACK1, IDC_TRACK2, IDC_TRACK3};
constexpr int CR_BOXES[] = {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3};

}  // namespace

Profile ProfileFromControls(const tk::DialogSurface& ui, bool withKeys) {
    Profile p;
    p.idFormat = 0;
    for (int format = 1; format <= reader::FORMAT_COUNT && p.idFormat == 0; ++format)
        if (ui.IsChecked(reader::FormatRadio(format))) p.idFormat = format;
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < 3; ++i) {
        const int index = reader::ID_SYMBOL_FIELDS[i];
        symbols[i]->enabled = ui.IsChecked(reader::IdSymbolBox(index));
        symbols[i]->text = ui.GetText(reader::FieldEdit(index));
    }
    p.enter = ui.IsChecked(IDC_ENTER_AFTER);
    for (size_t i = 0; i < 3; ++i) p.tracks[i] = ui.IsChecked(TRACK_BOXES[i]);
    p.sentinelsEnabled = ui.IsChecked(IDC_SENTINELS);
    for (size_t i = 0; i < 6; ++i)
        p.sentinels[i] = ui.GetText(reader::FieldEdit(reader::SENTINEL_FIELDS[i]));
    for (size_t i = 0; i < 3; ++i) p.crAfterTrack[i] = ui.IsChecked(CR_BOXES[i]);
    p.crAfterPacket = ui.IsChecked(IDC_CR_PACKET);
    p.filterEquals = ui.IsChecked(IDC_FILTER_EQUALS);
    if (withKeys) {
        std::array<std::string, KEY_COUNT> keys;
        for (int n = 1; n <= KEY_COUNT; ++n)
            keys[static_cast<size_t>(n - 1)] = ui.GetText(KeyFieldId(n));
        p.keys = keys;
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
    if (p.idFormat >= 1 && p.idFormat <= reader::FORMAT_COUNT) {
        const int radio = reader::FormatRadio(p.idFormat);
        if (!m_ui.IsChecked(radio)) {
            for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
                m_ui.SetChecked(id, id == radio);
            OnCommand(radio);
        }
    }
    profile::Profile copy = p;
    const auto symbols = profile::Symbols(copy);
    for (size_t i = 0; i < 3; ++i) {
        const int index = reader::ID_SYMBOL_FIELDS[i];
        ClickTo(*this, reader::IdSymbolBox(index), symbols[i]->enabled);
        m_ui.SetText(reader::FieldEdit(index), symbols[i]->text);
    }
    ClickTo(*this, IDC_ENTER_AFTER, p.enter);
    for (size_t i = 0; i < 3; ++i) ClickTo(*this, profile::TRACK_BOXES[i], p.tracks[i]);
    // The sentinel box puts its defaults into the fields, or empties them.
    ClickTo(*this, IDC_SENTINELS, p.sentinelsEnabled);
    if (p.sentinelsEnabled)
        for (size_t i = 0; i < 6; ++i)
            m_ui.SetText(reader::FieldEdit(reader::SENTINEL_FIELDS[i]), p.sentinels[i]);
    // The whole-packet box ticks or clears the per-track boxes; these can be
    // clicked only while it is off.
    ClickTo(*this, IDC_CR_PACKET, p.crAfterPacket);
    if (!p.crAfterPacket)
        for (size_t i = 0; i < 3; ++i) ClickTo(*this, profile::CR_BOXES[i], p.crAfterTrack[i]);
    ClickTo(*this, IDC_FILTER_EQUALS, p.filterEquals);
}

void CReaderConfigDlg::LoadProfileKeys(const profile::Profile& p) {
    if (!p.keys) return;
    // Whole key names must survive the key fields' one-character rule, as
    // with Default Config.
    g_bKeyFieldsFilled = 0;
    for (int n = 1; n <= profile::KEY_COUNT; ++n)
        m_ui.SetText(KeyFieldId(n), (*p.keys)[static_cast<size_t>(n - 1)]);
    g_bKeyFieldsFilled = 1;
}
