#include "reader/SettingsControls.h"

#include <cstdio>

#include "app/ControlIds.h"
#include "reader/ReaderTexts.h"
#include "toolkit/Gbk.h"

namespace reader {

using namespace ids;

int FieldEdit(int index) {
    static constexpr std::array<int, FIELD_COUNT + 1> edits = {
        0,          IDC_T1_START, IDC_T2_START,        IDC_T3_START,       IDC_T1_END,
        IDC_T2_END, IDC_T3_END,   IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT};
    return edits[static_cast<size_t>(index)];
}

int IdSymbolBox(int index) {
    static constexpr std::array<int, 3> boxes = {IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP};
    return boxes[static_cast<size_t>(index - FIELD_ID_MIDDLE)];
}

int FormatRadio(int format) {
    return IDC_FORMAT_FIRST + format - 1;
}

SettingsState ReadSettingsControls(const tk::DialogSurface& ui) {
    SettingsState s;
    for (int index = 1; index <= FIELD_COUNT; ++index)
        s.texts[static_cast<size_t>(index)] = tk::Utf8ToGbk(ui.GetText(FieldEdit(index)));
    for (size_t i = 0; i < ID_SYMBOL_FIELDS.size(); ++i)
        s.idSymbolOn[i] = ui.IsChecked(IdSymbolBox(ID_SYMBOL_FIELDS[i]));
    s.tracks = {ui.IsChecked(IDC_TRACK1), ui.IsChecked(IDC_TRACK2), ui.IsChecked(IDC_TRACK3)};
    s.crAfterTrack = {ui.IsChecked(IDC_CR_TRACK1), ui.IsChecked(IDC_CR_TRACK2),
                      ui.IsChecked(IDC_CR_TRACK3)};
    s.crAfterPacket = ui.IsChecked(IDC_CR_PACKET);
    s.filter = ui.IsChecked(IDC_FILTER_EQUALS);
    s.format = 0;
    for (int format = 1; format <= FORMAT_COUNT && s.format == 0; ++format)
        if (ui.IsChecked(FormatRadio(format))) s.format = format;
    s.enter = ui.IsChecked(IDC_ENTER_AFTER);
    return s;
}

void OfferComputerSlow(tk::DialogSurface& ui, const TextPair& text) {
    if (ui.IsChecked(IDC_COMPUTER_SLOW)) return;
    ui.MessageBox(text.Get(), reader_texts::COMPUTER_SLOW_CAPTION.Get(), tk::MsgBoxButtons::Ok);
    ui.SetChecked(IDC_COMPUTER_SLOW, true);
}

int AnswerReads(const tk::DialogSurface& ui) {
    return ui.IsChecked(IDC_COMPUTER_SLOW) ? 2 : 1;
}

void ExchangeTwice(dev::CHidLink& link, const Frame& request, Frame& answer, int reads) {
    const Frame out = request;
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    for (int i = 0; i < reads; ++i)
        link.ReadReport(answer.data(), static_cast<uint8_t>(answer.size()));
}

std::string BatchLine(uint32_t count) {
    constexpr uint32_t BATCH_COUNT_MODULUS = 100000;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u",
                  static_cast<unsigned>(count % BATCH_COUNT_MODULUS));
    return reader_texts::BATCH_HEAD.Get() + std::string(digits) + reader_texts::BATCH_TAIL.Get();
}

void ExchangeOnce(dev::CHidLink& link, const Frame& request, Frame& answer) {
    const Frame out = request;
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    link.ReadReport(answer.data(), static_cast<uint8_t>(answer.size()));
}

}  // namespace reader
