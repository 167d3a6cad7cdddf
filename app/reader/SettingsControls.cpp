#include "app/reader/SettingsControls.h"

#include <cstdio>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/reader/ReaderTexts.h"
#include "base/Gbk.h"

namespace reader {

using namespace ids;

int FieldEdit(int index) {
    static constexpr std::array<int, FIELD_COUNT + 1> edits = {
        0,          IDC_T1_START, IDC_T2_START,        IDC_T3_START,       IDC_T1_END,
        IDC_T2_END, IDC_T3_END,   IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT};
    return edits[static_cast<size_t>(index)];
}

int SwitchBox(Switch s) {
    static constexpr std::array<int, SWITCH_COUNT> boxes = {
        IDC_TRACK1,     IDC_TRACK2,    IDC_TRACK3,    IDC_SENTINELS,     IDC_CR_TRACK1,
        IDC_CR_TRACK2,  IDC_CR_TRACK3, IDC_CR_PACKET, IDC_FILTER_EQUALS, IDC_ENTER_AFTER,
        IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP};
    return boxes[static_cast<size_t>(s)];
}

int IdSymbolBox(int index) {
    return SwitchBox(IdSymbolSwitch(index));
}

int FormatRadio(int format) {
    return IDC_FORMAT_FIRST + format - 1;
}

Settings ReadSettingsControls(const tk::DialogSurface& ui) {
    Settings s;
    for (int index = 1; index <= FIELD_COUNT; ++index)
        s.Text(index) = tk::Utf8ToGbk(ui.GetText(FieldEdit(index)));
    for (int i = 0; i < SWITCH_COUNT; ++i)
        s.At(static_cast<Switch>(i)) = ui.IsChecked(SwitchBox(static_cast<Switch>(i)));
    s.idFormat = 0;
    for (int format = 1; format <= FORMAT_COUNT && s.idFormat == 0; ++format)
        if (ui.IsChecked(FormatRadio(format))) s.idFormat = format;
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

std::string BatchLine(uint32_t count) {
    constexpr uint32_t BATCH_COUNT_MODULUS = 100000;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u",
                  static_cast<unsigned>(count % BATCH_COUNT_MODULUS));
    return reader_texts::BATCH_HEAD.Get() + std::string(digits) + reader_texts::BATCH_TAIL.Get();
}

namespace {

std::string CharacterRefusal(const std::string& fieldName, const std::string& ch) {
    if (g_bEnglish)
        return "The character " + ShownCharacter(ch) + " in the " + fieldName +
               " cannot be sent to the device as it looks; nothing was sent. Please change it "
               "and try again!";
    return fieldName + "中的字符 " + ShownCharacter(ch) +
           " 无法按原样发送给设备，没有发送任何数据。请修改后再试！";
}

}  // namespace

std::string RefusalOf(const std::string& utf8, const std::string& fieldName, FieldKind kind,
                      std::string* gbk) {
    SendCheck c = CheckSendable(utf8, kind);
    switch (c.status) {
        case SendStatus::Ok:
            if (gbk) *gbk = std::move(c.gbk);
            return {};
        case SendStatus::Unavailable:
            return reader_texts::GBK_UNAVAILABLE.Get();
        case SendStatus::Nul:
        case SendStatus::NotGbk:
        case SendStatus::Misread:
            break;
    }
    return CharacterRefusal(fieldName, c.offending);
}

}  // namespace reader
