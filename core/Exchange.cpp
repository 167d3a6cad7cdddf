#include "core/Exchange.h"

#include "keypad/KeypadFrame.h"
#include "reader/SettingsFrame.h"

namespace core {

bool CouldAnswer(const Frame& request, const uint8_t* answer, size_t count) {
    if (request[reader::OFF_LEAD] != reader::REQUEST_LEAD) return true;
    // Answers shorter than the letters they are told by read as zeros there.
    const auto at = [&](size_t i) -> uint8_t { return i < count ? answer[i] : 0; };
    const uint8_t kind = request[reader::OFF_KIND];
    if (kp::IsReadRequest(request)) return at(reader::OFF_READ_LETTER) == reader::READ_LETTER;
    switch (kind) {
        case reader::KIND_SETTINGS:
            return at(reader::OFF_ACK) == reader::ACK_LETTER;
        case reader::KIND_STRING_WRITE:
            return at(reader::OFF_STRING_LETTER) == reader::STRING_STORED_LETTER ||
                   (at(reader::OFF_OLD_READER_KIND) == reader::KIND_STRING_WRITE &&
                    at(reader::OFF_OLD_READER_ACK) == reader::ACK_LETTER);
        case reader::KIND_STRING_READ:
            return at(reader::OFF_STRING_LETTER) == reader::STRING_READ_LETTER;
        case kp::KIND_QUERY:
            return at(kp::ANSWER_OFFSET) == kp::ANSWER_KEYPAD ||
                   at(kp::ANSWER_OFFSET) == kp::ANSWER_NOT_KEYPAD ||
                   (at(kp::ANSWER_OFFSET) == kp::KIND_QUERY &&
                    at(kp::ACK_OFFSET) == kp::ACK_SETTINGS);
        case kp::KIND_KEY_CODES:
            return at(kp::ANSWER_OFFSET) == kp::ANSWER_KEYPAD;
        default:
            return true;
    }
}

namespace {

void Read(dev::CHidLink& link, const Frame& request, Frame& answer) {
    link.ReadReport(answer.data(), static_cast<uint8_t>(answer.size()),
                    [&request](const uint8_t* payload, size_t count) {
                        return CouldAnswer(request, payload, count);
                    });
}

}  // namespace

void ExchangeTwice(dev::CHidLink& link, const Frame& request, Frame& answer, int reads) {
    const Frame out = request;
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    for (int i = 0; i < reads; ++i) Read(link, out, answer);
}

void ExchangeOnce(dev::CHidLink& link, const Frame& request, Frame& answer) {
    const Frame out = request;
    link.WriteReport(out.data(), static_cast<uint8_t>(out.size()));
    Read(link, out, answer);
}

}  // namespace core
