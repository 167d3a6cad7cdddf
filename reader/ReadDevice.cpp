// Read Device: loads the settings stored in the attached reader into the
// general settings view.

#include <array>
#include <optional>
#include <string>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "reader/ReaderTexts.h"
#include "reader/SettingsControls.h"
#include "toolkit/Gbk.h"

using namespace ids;

namespace {

// What the edits show for the texts of a valid answer, by field index: the
// long texts as the reader returned them, the others from the answer.
using FieldTexts = std::array<std::string, reader::FIELD_COUNT + 1>;

std::string CharText(uint8_t ch) {
    return tk::GbkToUtf8(std::string(1, static_cast<char>(ch)));
}

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
    // The answer goes into the request's buffer: when nothing comes back the
    // request itself is left there.
    reader::Frame buffer = reader::EncodeReadRequest();
    reader::ExchangeTwice(m_link, buffer, buffer, reader::AnswerReads(m_ui));
    const reader::ReadAnswer answer = reader::DecodeReadAnswer(buffer);

    if (answer.valid) {
        // Every long text first, in field order: a text the reader does not
        // return leaves the whole view as it was, so that nothing on screen
        // looks read that was not.
        FieldTexts texts;
        int unread = 0;
        for (int index : reader::STRING_WRITE_ORDER) {
            const auto slot = static_cast<size_t>(index);
            const reader::TextField& field = answer.fields[slot];
            if (field.kind == reader::TextKind::Long) {
                std::optional<std::string> text = ReadLongText(index);
                if (!text) {
                    unread = index;
                    break;
                }
                texts[slot] = std::move(*text);
            } else if (field.kind == reader::TextKind::Char) {
                texts[slot] = CharText(field.ch);
            } else if (field.kind == reader::TextKind::Off) {
                texts[slot] = std::string(1, reader::DEFAULT_CHARS[slot]);
            }
        }
        if (unread == 0) {
            AppendOutput(reader_texts::READ_SUCCESS);
            LoadSentinels(m_ui, answer, texts);
            LoadTracksAndCr(m_ui, answer);
            m_ui.SetChecked(IDC_FILTER_EQUALS, answer.filter);
            LoadIdCard(m_ui, answer, texts);
            m_ui.SetChecked(IDC_ENTER_AFTER, answer.enter);
        } else {
            AppendOutput(std::string(reader_texts::READ_FAILED.Get()) + "\r\n" +
                         reader_texts::LONG_TEXT_UNREAD_HEAD.Get() +
                         reader_texts::FIELD_NAME[static_cast<size_t>(unread)].Get() +
                         reader_texts::LONG_TEXT_UNREAD_TAIL.Get() + "\r\n");
            reader::OfferComputerSlow(m_ui, reader_texts::READ_COMPUTER_SLOW);
        }
        // The answer goes back as it stands; what comes back is not examined.
        // Anything but a valid answer would be stored as settings by a reader
        // that takes it for a settings frame.
        reader::ExchangeOnce(m_link, buffer, buffer);
    } else {
        std::string message = reader_texts::READ_FAILED.Get();
        if (!answer.Configured())
            message += std::string("\r\n") + reader_texts::NOT_CONFIGURED.Get();
        message += "\r\n";
        AppendOutput(message);
        reader::OfferComputerSlow(m_ui, reader_texts::READ_COMPUTER_SLOW);
    }

    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
    m_ui.SetEnabled(IDC_READ_DEVICE, true);
}

std::optional<std::string> CReaderConfigDlg::ReadLongText(int index) {
    if (index < 1 || index > reader::FIELD_COUNT) return std::nullopt;
    reader::Frame answer{};
    reader::ExchangeOnce(m_link, reader::EncodeStringRead(index), answer);
    const auto text = reader::DecodeStringReadAnswer(answer);
    if (!text) return std::nullopt;
    return tk::GbkToUtf8(*text);
}
