// Read Device: loads the settings stored in the attached reader into the
// general settings view.

#include <string>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "reader/ReaderTexts.h"
#include "reader/SettingsControls.h"
#include "toolkit/Gbk.h"

using namespace ids;

namespace {

std::string CharText(uint8_t ch) {
    return tk::GbkToUtf8(std::string(1, static_cast<char>(ch)));
}

void LoadSentinels(CReaderConfigDlg& dlg, const reader::ReadAnswer& a) {
    tk::DialogSurface& ui = dlg.Surface();
    bool present = false;
    for (int index : reader::SENTINEL_FIELDS) {
        const reader::TextField& field = a.fields[static_cast<size_t>(index)];
        switch (field.kind) {
            case reader::TextKind::Long:
                dlg.ReadLongText(index);
                break;
            case reader::TextKind::Empty:
                ui.SetText(reader::FieldEdit(index), "");
                break;
            default:
                ui.SetText(reader::FieldEdit(index), CharText(field.ch));
                break;
        }
        if (field.kind != reader::TextKind::Empty) present = true;
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

void LoadIdCard(CReaderConfigDlg& dlg, const reader::ReadAnswer& a) {
    tk::DialogSurface& ui = dlg.Surface();
    for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) ui.SetChecked(id, false);
    // A format byte outside "1" to "=" selects nothing.
    if (a.format != 0) ui.SetChecked(reader::FormatRadio(a.format), true);
    for (int index : reader::ID_SYMBOL_FIELDS) {
        const reader::TextField& field = a.fields[static_cast<size_t>(index)];
        const int edit = reader::FieldEdit(index);
        switch (field.kind) {
            case reader::TextKind::Long:
                dlg.ReadLongText(index);
                break;
            case reader::TextKind::Off:
                ui.SetText(edit, std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(index)]));
                break;
            default:
                ui.SetText(edit, CharText(field.ch));
                break;
        }
        ui.SetChecked(reader::IdSymbolBox(index), field.kind != reader::TextKind::Off);
    }
}

}  // namespace

void CReaderConfigDlg::ReadDevice() {
    m_ui.SetEnabled(IDC_READ_DEVICE, false);
    // The answer goes into the request's buffer: when nothing comes back the
    // request itself is what the final exchange writes.
    reader::Frame buffer = reader::EncodeReadRequest();
    reader::ExchangeTwice(m_link, buffer, buffer, reader::AnswerReads(m_ui));
    const reader::ReadAnswer answer = reader::DecodeReadAnswer(buffer);

    if (answer.valid) {
        AppendOutput(reader_texts::READ_SUCCESS);
        LoadSentinels(*this, answer);
        LoadTracksAndCr(m_ui, answer);
        m_ui.SetChecked(IDC_FILTER_EQUALS, answer.filter);
        LoadIdCard(*this, answer);
        m_ui.SetChecked(IDC_ENTER_AFTER, answer.enter);
    } else {
        std::string message = reader_texts::READ_FAILED.Get();
        if (!answer.Configured())
            message += std::string("\r\n") + reader_texts::NOT_CONFIGURED.Get();
        message += "\r\n";
        AppendOutput(message);
        reader::OfferComputerSlow(m_ui, reader_texts::READ_COMPUTER_SLOW);
    }

    // The buffer goes out once more as it stands; what comes back is not examined.
    reader::ExchangeOnce(m_link, buffer, buffer);

    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
    m_ui.SetEnabled(IDC_READ_DEVICE, true);
}

void CReaderConfigDlg::ReadLongText(int index) {
    if (index < 1 || index > reader::FIELD_COUNT) return;
    reader::Frame answer{};
    reader::ExchangeOnce(m_link, reader::EncodeStringRead(index), answer);
    // Without an answer the edit keeps its text.
    if (const auto text = reader::DecodeStringReadAnswer(answer))
        m_ui.SetText(reader::FieldEdit(index), tk::GbkToUtf8(*text));
}
