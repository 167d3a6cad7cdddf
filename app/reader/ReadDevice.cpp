// Read Device: loads the settings stored in the attached reader into the
// general settings view.

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"

using namespace ids;

namespace {

// The edits show the texts as UTF-8; a byte that is no GBK character shows
// in its reversible form.
void LoadSentinels(tk::DialogSurface& ui, const reader::Settings& s) {
    for (int index : reader::SENTINEL_FIELDS)
        ui.SetText(reader::FieldEdit(index), tk::GbkToUtf8(s.Text(index)));
    ui.SetChecked(IDC_SENTINELS, s.sentinelsOn);
    for (int id : SENTINEL_EDITS) ui.SetEnabled(id, s.sentinelsOn);
}

void LoadTracksAndCr(tk::DialogSurface& ui, const reader::Settings& s) {
    using reader::Switch;
    for (Switch t : {Switch::Track1, Switch::Track2, Switch::Track3})
        ui.SetChecked(reader::SwitchBox(t), s.At(t));
    constexpr Switch CRS[] = {Switch::CrTrack1, Switch::CrTrack2, Switch::CrTrack3};
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3, IDC_CR_PACKET}) {
        ui.SetChecked(id, false);
        ui.SetEnabled(id, true);
    }
    if (s.crAfterPacket) {
        for (Switch cr : CRS) ui.SetEnabled(reader::SwitchBox(cr), false);
        ui.SetChecked(IDC_CR_PACKET, true);
    } else {
        for (Switch cr : CRS) ui.SetChecked(reader::SwitchBox(cr), s.At(cr));
    }
}

void LoadIdCard(tk::DialogSurface& ui, const reader::Settings& s) {
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) ui.SetChecked(id, false);
    // A format byte outside "1" to "=" selects nothing.
    if (s.idFormat != 0) ui.SetChecked(reader::FormatRadio(s.idFormat), true);
    for (int index : reader::ID_SYMBOL_FIELDS) {
        ui.SetText(reader::FieldEdit(index), tk::GbkToUtf8(s.Text(index)));
        ui.SetChecked(reader::IdSymbolBox(index), s.IdSymbolOn(index));
    }
}

}  // namespace

void CReaderConfigDlg::ReadDevice() {
    m_ui.SetEnabled(IDC_READ_DEVICE, false);
    // The answer and its long texts come from one reader.
    dev::DeviceBindingScope binding(m_link);
    m_session.ReadSettings(Policy());  // shown by OnSettingsRead
    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
    m_ui.SetEnabled(IDC_READ_DEVICE, true);
}

void CReaderConfigDlg::OnSettingsRead(const core::ReadResult& result) {
    switch (result.status) {
        case core::ReadStatus::Read: {
            const reader::Settings settings = result.Settings();
            AppendOutput(reader_texts::READ_SUCCESS);
            LoadSentinels(m_ui, settings);
            LoadTracksAndCr(m_ui, settings);
            m_ui.SetChecked(IDC_FILTER_EQUALS, settings.filterEquals);
            LoadIdCard(m_ui, settings);
            m_ui.SetChecked(IDC_ENTER_AFTER, settings.enter);
            break;
        }
        case core::ReadStatus::LongTextUnread:
            // Nothing on screen changes, so that nothing looks read that was not.
            AppendOutput(std::string(reader_texts::READ_FAILED.Get()) + "\r\n" +
                         reader_texts::LONG_TEXT_UNREAD_HEAD.Get() +
                         reader_texts::FIELD_NAME[static_cast<size_t>(result.field)].Get() +
                         reader_texts::LONG_TEXT_UNREAD_TAIL.Get() + "\r\n");
            reader::OfferComputerSlow(m_ui, reader_texts::READ_COMPUTER_SLOW);
            break;
        case core::ReadStatus::NotConfigured:
        case core::ReadStatus::NoAnswer: {
            std::string message = reader_texts::READ_FAILED.Get();
            if (result.status == core::ReadStatus::NotConfigured)
                message += std::string("\r\n") + reader_texts::NOT_CONFIGURED.Get();
            message += "\r\n";
            AppendOutput(message);
            reader::OfferComputerSlow(m_ui, reader_texts::READ_COMPUTER_SLOW);
            break;
        }
    }
}
