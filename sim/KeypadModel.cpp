#include "sim/KeypadModel.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

// The frames as their description spells them (payload offsets from 0); none
// of it comes from the tool's codecs.
constexpr uint8_t LEAD = 0x20;  // byte 0 of every request
constexpr uint8_t KIND_KEY_CODES = 0xFF;
constexpr uint8_t KIND_QUERY = 0xFE;
constexpr size_t CODES_AT = 2;          // KEY1..KEY20
constexpr size_t KEYPAD_LETTER_AT = 1;  // "K" and "M"
constexpr size_t ACK_LETTER_AT = 2;     // "Y" of a settings acknowledgement, "R" of a read answer
constexpr size_t SETTINGS_AT = 3;       // settings bytes 3..16
constexpr char READ_REQUEST[] = "        RE         ";
// The factory layout: FD F8 F7 F6, 37 38 39 F5, 34 35 36 F4, 31 32 33 F3, E9 30 2E FE.
constexpr KeypadModel::Codes FACTORY_CODES = {0xFD, 0xF8, 0xF7, 0xF6, 0x37, 0x38, 0x39,
                                              0xF5, 0x34, 0x35, 0x36, 0xF4, 0x31, 0x32,
                                              0x33, 0xF3, 0xE9, 0x30, 0x2E, 0xFE};

bool IsKind(const Frame& in, uint8_t kind) {
    return in[0] == LEAD && in[1] == kind;
}

bool IsReadRequest(const Frame& in) {
    Frame request{};
    std::memcpy(request.data(), READ_REQUEST, sizeof READ_REQUEST - 1);
    return in == request;
}

Frame LetterAnswer(uint8_t letter) {
    Frame answer{};
    answer[KEYPAD_LETTER_AT] = letter;
    return answer;
}

}  // namespace

KeypadModel::KeypadModel(std::unique_ptr<ReaderModel> reader)
    : KeypadModel(std::move(reader), FACTORY_CODES) {}

KeypadModel::KeypadModel(std::unique_ptr<ReaderModel> reader, const Codes& codes)
    : m_reader(std::move(reader)), m_codes(codes) {}

std::vector<Frame> KeypadModel::OnFrame(const Frame& in) {
    if (IsKind(in, KIND_KEY_CODES)) {
        if (!storesCodes) return {};
        std::copy_n(in.begin() + CODES_AT, m_codes.size(), m_codes.begin());
        ++keyCodeFramesStored;
        return {LetterAnswer('K')};
    }
    if (IsKind(in, KIND_QUERY)) {
        if (!answersQuery) return {};
        Frame answer = LetterAnswer('K');
        std::copy(m_codes.begin(), m_codes.end(), answer.begin() + CODES_AT);
        return {answer};
    }
    return m_reader->OnFrame(in);
}

NoKeypadModel::NoKeypadModel(std::unique_ptr<ReaderModel> reader) : m_reader(std::move(reader)) {}

std::vector<Frame> NoKeypadModel::OnFrame(const Frame& in) {
    if (IsKind(in, KIND_QUERY)) return {LetterAnswer('M')};
    return m_reader->OnFrame(in);
}

SettingsEchoModel::SettingsEchoModel(const Settings& settings) : m_settings(settings) {}

std::vector<Frame> SettingsEchoModel::OnFrame(const Frame& in) {
    if (IsReadRequest(in)) {
        if (!answersReadRequest) return {};
        Frame answer{};
        answer[0] = LEAD;
        answer[1] = 0x20;  // headed like a settings frame
        answer[ACK_LETTER_AT] = 'R';
        std::copy(m_settings.begin(), m_settings.end(), answer.begin() + SETTINGS_AT);
        return {answer};
    }
    std::copy_n(in.begin() + SETTINGS_AT, m_settings.size(), m_settings.begin());
    Frame echo = in;
    echo[ACK_LETTER_AT] = 'Y';
    return {echo};
}

}  // namespace sim
