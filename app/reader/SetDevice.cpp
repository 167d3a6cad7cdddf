// Set Device: writes the general settings view into the attached reader.

#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/ReaderTexts.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"

using namespace ids;

void CReaderConfigDlg::SetDevice() {
    // The reader attached now has been configured in this batch run already.
    if (g_bBatchMode && g_bBatchDone) return;
    m_ui.SetEnabled(IDC_SET_DEVICE, false);
    // One configuration, one reader: a reader swapped in meanwhile is not written.
    dev::DeviceBindingScope binding(m_link);

    reader::Settings settings = reader::ReadSettingsControls(m_ui);
    if (const std::string refusal = RefusalOfSettings(settings); !refusal.empty()) {
        AppendOutput(refusal);
        m_ui.MessageBox(refusal, reader_texts::REFUSED_CAPTION.Get(), tk::MsgBoxButtons::Ok);
        if (!g_bBatchMode) m_ui.SetEnabled(IDC_SET_DEVICE, true);
        return;
    }
    const core::SetResult result = m_session.SetSettings(settings, Policy());
    g_bMultiCharSupported = m_session.MultiCharSupported() ? 1 : 0;
    if (result.status == core::SetStatus::LongTextUnstored) {
        // The settings frame would announce a text the reader does not hold.
        AppendOutput(std::string(reader_texts::DATA_SEND_FAILED.Get()) + "\r\n" +
                     reader_texts::LONG_TEXT_UNCONFIRMED_HEAD.Get() +
                     reader_texts::FIELD_NAME[static_cast<size_t>(result.field)].Get() +
                     reader_texts::LONG_TEXT_UNCONFIRMED_TAIL.Get());
        // A batch run logs the reader it could not configure.
        if (g_bBatchMode) RecordBatchDevice(false, g_nBatchCount);
        reader::OfferComputerSlow(m_ui, reader_texts::SET_COMPUTER_SLOW);
        if (!g_bBatchMode) m_ui.SetEnabled(IDC_SET_DEVICE, true);
        return;
    }

    if (result.status == core::SetStatus::Configured) {
        std::string message;
        if (g_bBatchMode) {
            ++g_nBatchCount;
            g_bBatchDone = 1;
            message = reader::BatchLine(g_nBatchCount);
            RecordBatchDevice(true, g_nBatchCount);
        } else {
            message = reader_texts::CONFIG_SUCCESS.Get();
        }
        if (g_bAutoKeyboardConfig) {
            message += "\r\n";
            message += WriteKeyCodes() ? reader_texts::KEYBOARD_CONFIG_SUCCESS.Get()
                                       : reader_texts::KEYBOARD_CONFIG_FAILURE.Get();
        }
        AppendOutput(message);
    } else {
        AppendOutput(reader_texts::DATA_SEND_FAILED);
        if (g_bBatchMode) RecordBatchDevice(false, g_nBatchCount);
        reader::OfferComputerSlow(m_ui, reader_texts::SET_COMPUTER_SLOW);
    }

    if (!g_bBatchMode) m_ui.SetEnabled(IDC_SET_DEVICE, true);
}

std::string CReaderConfigDlg::RefusalOfSettings(const reader::Settings& settings) const {
    for (int index : reader::STRING_WRITE_ORDER) {
        const bool symbol = reader::IsIdSymbolField(index);
        if (symbol && !settings.IdSymbolOn(index)) continue;  // sends "off", not the text
        const std::string refusal = reader::RefusalOf(
            m_ui.GetText(reader::FieldEdit(index)),
            reader_texts::FIELD_NAME[static_cast<size_t>(index)].Get(),
            symbol ? reader::FieldKind::IdSymbol : reader::FieldKind::Sentinel, nullptr);
        if (!refusal.empty()) return refusal;
    }
    return {};
}

void CReaderConfigDlg::OnSymbolDefaulted(int field) {
    const auto slot = static_cast<size_t>(field);
    m_ui.SetText(reader::FieldEdit(field), std::string(1, reader::DEFAULT_CHARS[slot]));
    const TextPair& text =
        reader_texts::EMPTY_SYMBOL_TEXT[static_cast<size_t>(field - reader::FIELD_ID_MIDDLE)];
    m_ui.MessageBox(text.Get(), reader_texts::EMPTY_SYMBOL_CAPTION.Get(), tk::MsgBoxButtons::Ok);
}

void CReaderConfigDlg::OnOldReader(int field) {
    AppendOutput(std::string("\r\n") + reader_texts::OLD_READER.Get() + "\r\n" +
                 reader_texts::OLD_READER_FIELD[static_cast<size_t>(field)].Get());
}

core::ExchangePolicy CReaderConfigDlg::Policy() const {
    return {reader::AnswerReads(m_ui)};
}
