#include "sim/CardReaderModel.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

// The frames as their description spells them (payload offsets from 0).
constexpr uint8_t LEAD = 0x20;           // byte 0 of every request
constexpr uint8_t KIND_SETTINGS = 0x20;  // byte 1
constexpr uint8_t KIND_STRING_WRITE = 0xFD;
constexpr uint8_t KIND_STRING_READ = 0xFC;
constexpr char READ_REQUEST[] = "        RE         ";  // bytes 0..18, then zeros
constexpr size_t SETTINGS_AT = 3;                       // settings bytes 3..16
constexpr size_t ANSWER_LETTER_AT = 2;                  // "Y" and "R"
constexpr size_t STRING_LETTER_AT = 1;                  // "S" and "T"
constexpr size_t INDEX_AT = 2;                          // string frames: field index 1..9
constexpr size_t LENGTH_AT = 3;                         // string write: text length
constexpr size_t TEXT_AT = 4;                           // string write: the text
constexpr size_t READ_CODE_AT = 2;                      // string read answer: 0xC8 + length
constexpr size_t READ_TEXT_AT = 3;                      // string read answer: the text
constexpr uint8_t LONG_TEXT_BASE = 0xC8;
constexpr size_t MAX_TEXT = 9;

bool IsReadRequest(const Frame& in) {
    return std::memcmp(in.data(), READ_REQUEST, sizeof READ_REQUEST - 1) == 0;
}

bool ValidIndex(int index) {
    return index >= 1 && index <= CardReaderModel::FIELD_COUNT;
}

}  // namespace

std::vector<Frame> CardReaderModel::OnFrame(const Frame& in) {
    if (m_silent || in[0] != LEAD) return {};
    if (IsReadRequest(in)) return OnReadRequest();
    switch (in[1]) {
        case KIND_SETTINGS:
            return OnSettingsFrame(in);
        case KIND_STRING_WRITE:
            return OnStringWrite(in);
        case KIND_STRING_READ:
            return OnStringRead(in);
        default:
            return {};
    }
}

std::vector<Frame> CardReaderModel::OnSettingsFrame(const Frame& in) {
    std::copy_n(in.begin() + SETTINGS_AT, m_settings.size(), m_settings.begin());
    Frame ack = in;
    ack[ANSWER_LETTER_AT] = 'Y';
    return {ack};
}

std::vector<Frame> CardReaderModel::OnReadRequest() {
    Frame answer{};
    answer[ANSWER_LETTER_AT] = 'R';
    std::copy(m_settings.begin(), m_settings.end(), answer.begin() + SETTINGS_AT);
    return {answer};
}

std::vector<Frame> CardReaderModel::OnStringWrite(const Frame& in) {
    const int index = in[INDEX_AT];
    const size_t n = in[LENGTH_AT];
    if (!ValidIndex(index) || n < 1 || n > MAX_TEXT) return {};
    const auto text = in.begin() + TEXT_AT;
    if (m_firmware == Firmware::Old) {
        // Answers as it acknowledges a settings frame: the frame, "Y" at byte 2.
        m_longTexts[static_cast<size_t>(index)].assign(text, text + 1);
        Frame ack = in;
        ack[ANSWER_LETTER_AT] = 'Y';
        return {ack};
    }
    m_longTexts[static_cast<size_t>(index)].assign(text, text + static_cast<ptrdiff_t>(n));
    Frame answer{};
    answer[STRING_LETTER_AT] = 'S';
    return {answer};
}

std::vector<Frame> CardReaderModel::OnStringRead(const Frame& in) {
    const int index = in[INDEX_AT];
    if (m_firmware == Firmware::Old || !ValidIndex(index)) return {};
    const std::string& text = m_longTexts[static_cast<size_t>(index)];
    Frame answer{};
    answer[STRING_LETTER_AT] = 'T';
    answer[READ_CODE_AT] = static_cast<uint8_t>(LONG_TEXT_BASE + text.size());
    std::copy(text.begin(), text.end(), answer.begin() + READ_TEXT_AT);
    return {answer};
}

std::string CardReaderModel::LongText(int index) const {
    return ValidIndex(index) ? m_longTexts[static_cast<size_t>(index)] : std::string();
}

void CardReaderModel::SetLongText(int index, std::string text) {
    if (!ValidIndex(index)) return;
    text.resize(std::min(text.size(), MAX_TEXT));
    m_longTexts[static_cast<size_t>(index)] = std::move(text);
}

}  // namespace sim
