// Read Device: loads the settings stored in the attached reader into the
// general settings view.

#include <array>
#include <string>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"

using namespace ids;

namespace {

// What the edits show for the texts of a valid answer, by field index: the
// long texts as the reader returned them, the others from the answer.
using FieldTexts = std::array<std::string, reader::FIELD_COUNT + 1>;

void LoadSentinels(tk::DialogSurface& ui, const reader::ReadAnswer& a, const FieldTexts& texts) {
    bool present = false;
    for (int index : reader::SENTINEL_FIELDS) {
        const auto slot = static_cast<size_t>(index);
        ui.SetText(reader::FieldEdit(index), texts[slot]);
        if (a.fields[slot].kind != reader::TextKind::Empty) present = true;
    }
    ui.SetChecked(IDC_SENTINELS, present);
    for (int id : SENTINEL_FIELDS) ui.SetEnabled(id, present);
}

void LoadTracksAndCr(tk::DialogSurface& ui, const reader::ReadAnswer& a) {
    const int tracks[] = {IDC_TRACK1, IDC_TRACK2, IDC_TRACK3};
    const int crs[] = {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3};
    for (size_t i = 0; i < 3; ++i) ui.SetChecked(tracks[i], a.tracks[i]);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3, IDC_CR_PACKET}) {
        ui.SetChecked(id, false);
        ui.SetEnabled(id, true);
    }
    if (a.crAfterPacket) {
        for (int id : crs) ui.SetEnabled(id, false);
        ui.SetChecked(IDC_CR_PACKET, true);
    } else {
        for (size_t i = 0; i < 3; ++i) ui.SetChecked(crs[i], a.crAfterTrack[i]);
    }
}

void LoadIdCard(tk::DialogSurface& ui, const reader::ReadAnswer& a, const FieldTexts& texts) {
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) ui.SetChecked(id, false);
    // A format byte outside "1" to "=" selects nothing.
    if (a.format != 0) ui.SetChecked(reader::FormatRadio(a.format), true);
    for (int index : reader::ID_SYMBOL_FIELDS) {
        const auto slot = static_cast<size_t>(index);
        ui.SetText(reader::FieldEdit(index), texts[slot]);
        ui.SetChecked(reader::IdSymbolBox(index), a.fields[slot].kind != reader::TextKind::Off);
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
            FieldTexts texts;
            for (size_t slot = 1; slot < texts.size(); ++slot)
                texts[slot] = tk::GbkToUtf8(result.texts[slot]);
            AppendOutput(reader_texts::READ_SUCCESS);
            LoadSentinels(m_ui, result.answer, texts);
            LoadTracksAndCr(m_ui, result.answer);
            m_ui.SetChecked(IDC_FILTER_EQUALS, result.answer.filter);
            LoadIdCard(m_ui, result.answer, texts);
            m_ui.SetChecked(IDC_ENTER_AFTER, result.answer.enter);
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
