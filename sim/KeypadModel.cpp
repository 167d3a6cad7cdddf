#include "sim/KeypadModel.h"

#include <algorithm>

#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"

namespace sim {

namespace {

bool IsKind(const Frame& in, uint8_t kind) {
    return in[kp::HEAD_OFFSET] == kp::FRAME_HEAD && in[kp::KIND_OFFSET] == kind;
}

Frame LetterAnswer(uint8_t letter) {
    Frame answer{};
    answer[kp::ANSWER_OFFSET] = letter;
    return answer;
}

}  // namespace

KeypadModel::KeypadModel(std::unique_ptr<ReaderModel> reader)
    : KeypadModel(std::move(reader), DEFAULT_KEY_CODES) {}

KeypadModel::KeypadModel(std::unique_ptr<ReaderModel> reader, const Codes& codes)
    : m_reader(std::move(reader)), m_codes(codes) {}

std::vector<Frame> KeypadModel::OnFrame(const Frame& in) {
    if (IsKind(in, kp::KIND_KEY_CODES)) {
        if (!storesCodes) return {};
        std::copy_n(in.begin() + kp::CODES_OFFSET, m_codes.size(), m_codes.begin());
        ++keyCodeFramesStored;
        return {LetterAnswer(kp::ANSWER_KEYPAD)};
    }
    if (IsKind(in, kp::KIND_QUERY)) {
        if (!answersQuery) return {};
        Frame answer = LetterAnswer(kp::ANSWER_KEYPAD);
        std::copy(m_codes.begin(), m_codes.end(), answer.begin() + kp::CODES_OFFSET);
        return {answer};
    }
    return m_reader->OnFrame(in);
}

NoKeypadModel::NoKeypadModel(std::unique_ptr<ReaderModel> reader) : m_reader(std::move(reader)) {}

std::vector<Frame> NoKeypadModel::OnFrame(const Frame& in) {
    if (IsKind(in, kp::KIND_QUERY)) return {LetterAnswer(kp::ANSWER_NOT_KEYPAD)};
    return m_reader->OnFrame(in);
}

static_assert(std::tuple_size_v<SettingsEchoModel::Settings> == kp::SETTINGS_COUNT);

SettingsEchoModel::SettingsEchoModel(const Settings& settings) : m_settings(settings) {}

std::vector<Frame> SettingsEchoModel::OnFrame(const Frame& in) {
    if (kp::IsReadRequest(in)) {
        if (!answersReadRequest) return {};
        Frame answer{};
        answer[kp::HEAD_OFFSET] = kp::FRAME_HEAD;
        answer[kp::KIND_OFFSET] = kp::KIND_SETTINGS;
        answer[kp::READ_ANSWER_MARK_OFFSET] = kp::READ_ANSWER_MARK;
        std::copy(m_settings.begin(), m_settings.end(), answer.begin() + kp::SETTINGS_OFFSET);
        return {answer};
    }
    std::copy_n(in.begin() + kp::SETTINGS_OFFSET, m_settings.size(), m_settings.begin());
    Frame echo = in;
    echo[kp::ACK_OFFSET] = kp::ACK_SETTINGS;
    return {echo};
}

}  // namespace sim
