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

// The code point of the UTF-8 character ch (its first byte when broken).
uint32_t CodePoint(const std::string& ch) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(ch[i])); };
    if (ch.size() >= 4 && b(0) >= 0xF0)
        return (b(0) & 7) << 18 | (b(1) & 63) << 12 | (b(2) & 63) << 6 | (b(3) & 63);
    if (ch.size() >= 3 && b(0) >= 0xE0) return (b(0) & 15) << 12 | (b(1) & 63) << 6 | (b(2) & 63);
    if (ch.size() >= 2 && b(0) >= 0xC0) return (b(0) & 31) << 6 | (b(1) & 63);
    return ch.empty() ? 0 : b(0);
}

// The character as a message shows it: itself and its code point, or the
// code point alone for an invisible one.
std::string Shown(const std::string& ch) {
    char code[16];
    if (ch.starts_with(tk::BYTE_MARK_OPEN)) return ch;  // a byte that is no character
    const uint32_t cp = CodePoint(ch);
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    if (cp < 0x20 || cp == 0x7F) return code;
    return "\"" + ch + "\" (" + code + ")";
}

std::string CharacterRefusal(const std::string& fieldName, const std::string& ch) {
    if (g_bEnglish)
        return "The character " + Shown(ch) + " in the " + fieldName +
               " cannot be sent to the device as it looks; nothing was sent. Please change it "
               "and try again!";
    return fieldName + "中的字符 " + Shown(ch) +
           " 无法按原样发送给设备，没有发送任何数据。请修改后再试！";
}

}  // namespace

std::string RefusalOf(const std::string& utf8, const std::string& fieldName, FieldKind kind,
                      std::string* gbk) {
    std::string bytes, offending;
    // A NUL typed or pasted is invisible and cuts the device's answers short.
    if (const size_t nul = utf8.find('\0'); nul != std::string::npos)
        return CharacterRefusal(fieldName, std::string(1, '\0'));
    switch (tk::Utf8ToGbkExact(utf8, bytes, &offending)) {
        case tk::GbkResult::Ok:
            break;
        case tk::GbkResult::NotGbk:
            return CharacterRefusal(fieldName, offending);
        case tk::GbkResult::Unavailable:
            return reader_texts::GBK_UNAVAILABLE.Get();
    }
    if (!bytes.empty()) {
        const auto first = static_cast<uint8_t>(bytes[0]);
        // A key field sends its first byte; a field of the settings frame
        // sends a one-byte text as its code and a longer one as a string.
        const bool misread =
            kind == FieldKind::KeyField
                ? first == 0x00
                : bytes.size() == 1 && (first == 0x00 || first >= LONG_TEXT_BASE ||
                                        (kind == FieldKind::Sentinel && first == CODE_EMPTY) ||
                                        (kind == FieldKind::IdSymbol && first == CODE_OFF));
        if (misread) return CharacterRefusal(fieldName, tk::GbkToUtf8(bytes.substr(0, 1)));
    }
    if (gbk) *gbk = bytes;
    return {};
}

}  // namespace reader
