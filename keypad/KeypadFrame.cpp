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
    return reader::EncodeReadRequest();
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
    return reader::DecodeReadAnswer(answer).valid;
}

Frame SettingsFrameFromReadAnswer(const Frame& answer) {
    Frame f = answer;
    f[HEAD_OFFSET] = FRAME_HEAD;
    f[KIND_OFFSET] = KIND_SETTINGS;
    return f;
}

bool IsReadRequest(const Frame& frame) {
    return frame == reader::EncodeReadRequest();
}

}  // namespace kp
