#include "sim/CardReaderModel.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

bool IsReadRequest(const Frame& in) {
    return std::memcmp(in.data(), reader::READ_REQUEST_TEXT, reader::READ_REQUEST_TEXT_LEN) == 0;
}

bool ValidIndex(int index) {
    return index >= 1 && index <= reader::FIELD_COUNT;
}

}  // namespace

std::vector<Frame> CardReaderModel::OnFrame(const Frame& in) {
    if (m_silent || in[reader::OFF_LEAD] != reader::REQUEST_LEAD) return {};
    if (IsReadRequest(in)) return OnReadRequest();
    switch (in[reader::OFF_KIND]) {
        case reader::KIND_SETTINGS:
            return OnSettingsFrame(in);
        case reader::KIND_STRING_WRITE:
            return OnStringWrite(in);
        case reader::KIND_STRING_READ:
            return OnStringRead(in);
        default:
            return {};
    }
}

std::vector<Frame> CardReaderModel::OnSettingsFrame(const Frame& in) {
    std::copy_n(in.begin() + reader::OFF_SETTINGS, reader::SETTINGS_LEN, m_settings.begin());
    Frame ack = in;
    ack[reader::OFF_ACK] = reader::ACK_LETTER;
    return {ack};
}

std::vector<Frame> CardReaderModel::OnReadRequest() {
    Frame answer{};
    answer[reader::OFF_READ_LETTER] = reader::READ_LETTER;
    std::copy(m_settings.begin(), m_settings.end(), answer.begin() + reader::OFF_SETTINGS);
    return {answer};
}

std::vector<Frame> CardReaderModel::OnStringWrite(const Frame& in) {
    const int index = in[reader::OFF_FIELD_INDEX];
    const size_t n = in[reader::OFF_TEXT_LEN];
    if (!ValidIndex(index) || n < 1 || n > reader::MAX_TEXT_LEN) return {};
    const auto text = in.begin() + reader::OFF_TEXT;
    if (m_firmware == Firmware::Old) {
        m_longTexts[static_cast<size_t>(index)].assign(text, text + 1);
        Frame ack = in;
        ack[reader::OFF_OLD_READER_ACK] = reader::ACK_LETTER;
        return {ack};
    }
    m_longTexts[static_cast<size_t>(index)].assign(text, text + static_cast<ptrdiff_t>(n));
    Frame answer{};
    answer[reader::OFF_STRING_LETTER] = reader::STRING_STORED_LETTER;
    return {answer};
}

std::vector<Frame> CardReaderModel::OnStringRead(const Frame& in) {
    const int index = in[reader::OFF_FIELD_INDEX];
    if (m_firmware == Firmware::Old || !ValidIndex(index)) return {};
    const std::string& text = m_longTexts[static_cast<size_t>(index)];
    Frame answer{};
    answer[reader::OFF_STRING_LETTER] = reader::STRING_READ_LETTER;
    answer[reader::OFF_READ_TEXT_CODE] = static_cast<uint8_t>(reader::LONG_TEXT_BASE + text.size());
    std::copy(text.begin(), text.end(), answer.begin() + reader::OFF_READ_TEXT);
    return {answer};
}

std::string CardReaderModel::LongText(int index) const {
    return ValidIndex(index) ? m_longTexts[static_cast<size_t>(index)] : std::string();
}

void CardReaderModel::SetLongText(int index, std::string text) {
    if (!ValidIndex(index)) return;
    text.resize(std::min(text.size(), reader::MAX_TEXT_LEN));
    m_longTexts[static_cast<size_t>(index)] = std::move(text);
}

}  // namespace sim
