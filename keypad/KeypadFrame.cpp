#include "keypad/KeypadFrame.h"

#include <algorithm>

namespace kp {

Frame BuildKeyCodeFrame(const KeyCodes& codes) {
    Frame f{};
    f[HEAD_OFFSET] = FRAME_HEAD;
    f[KIND_OFFSET] = KIND_KEY_CODES;
    std::copy(codes.begin(), codes.end(), f.begin() + CODES_OFFSET);
    return f;
}

Frame BuildKeypadQuery() {
    Frame f{};
    f[HEAD_OFFSET] = FRAME_HEAD;
    f[KIND_OFFSET] = KIND_QUERY;
    return f;
}

Frame BuildReadRequest() {
    Frame f{};
    std::copy_n(READ_REQUEST_TEXT, READ_REQUEST_TEXT_LEN, f.begin());
    return f;
}

QueryAnswer ClassifyQueryAnswer(const Frame& answer) {
    switch (answer[ANSWER_OFFSET]) {
        case ANSWER_KEYPAD:
            return QueryAnswer::KeyCodes;
        case ANSWER_NOT_KEYPAD:
            return QueryAnswer::NotKeypad;
        case KIND_QUERY:
            return answer[ACK_OFFSET] == ACK_SETTINGS ? QueryAnswer::SettingsAck
                                                      : QueryAnswer::None;
        default:
            return QueryAnswer::None;
    }
}

KeyCodes CodesOfAnswer(const Frame& answer) {
    KeyCodes codes{};
    std::copy_n(answer.begin() + CODES_OFFSET, codes.size(), codes.begin());
    return codes;
}

bool IsKeyCodeAck(const Frame& answer) {
    return answer[ANSWER_OFFSET] == ANSWER_KEYPAD;
}

bool IsValidReadAnswer(const Frame& answer) {
    if (answer[READ_ANSWER_MARK_OFFSET] != READ_ANSWER_MARK) return false;
    const auto firstZero =
        std::find(answer.begin() + READ_ANSWER_MARK_OFFSET, answer.end(), uint8_t{0});
    return static_cast<size_t>(firstZero - answer.begin()) >= READ_ANSWER_MIN_LENGTH;
}

Frame SettingsFrameFromReadAnswer(const Frame& answer) {
    Frame f = answer;
    f[HEAD_OFFSET] = FRAME_HEAD;
    f[KIND_OFFSET] = KIND_SETTINGS;
    return f;
}

bool IsReadRequest(const Frame& frame) {
    return std::equal(READ_REQUEST_TEXT, READ_REQUEST_TEXT + READ_REQUEST_TEXT_LEN,
                      frame.begin()) &&
           std::all_of(frame.begin() + READ_REQUEST_TEXT_LEN, frame.end(),
                       [](uint8_t b) { return b == 0; });
}

}  // namespace kp
