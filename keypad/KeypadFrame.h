#pragma once
// The keypad's frames on the wire and how its answers are read. Offsets are
// report payload offsets; the HID link puts the report id in front.
//
// The keypad probe also sends the reader's settings read request and, to a
// reader that takes the keypad query for a settings frame, sends its read
// answer back as a settings frame; the few reader frame facts that needs are
// declared here under "Reader settings frames".

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/HidLink.h"
#include "keypad/KeyCount.h"
#include "reader/SettingsFrame.h"

namespace kp {

using Frame = std::array<uint8_t, dev::FRAME_LEN>;
using KeyCodes = std::array<uint8_t, KEYPAD_KEY_COUNT>;

// Every request frame: byte 0 is FRAME_HEAD, byte 1 the kind.
constexpr size_t HEAD_OFFSET = 0;
constexpr size_t KIND_OFFSET = 1;
constexpr uint8_t FRAME_HEAD = 0x20;
constexpr uint8_t KIND_KEY_CODES = 0xFF;  // key-code frame
constexpr uint8_t KIND_QUERY = 0xFE;      // keypad query
// The key-code frame and the key-code answer carry KEY1..KEY20 here.
constexpr size_t CODES_OFFSET = 2;

// Answers: a letter at byte 1, or for a settings-style acknowledgement the
// query's own kind at byte 1 and the letter at byte 2.
constexpr size_t ANSWER_OFFSET = 1;
constexpr uint8_t ANSWER_KEYPAD = 'K';      // key codes stored / key-code answer
constexpr uint8_t ANSWER_NOT_KEYPAD = 'M';  // no keyboard settings on this device
// The reader settings frames the keypad probe takes part in; the reader
// codec declares them.
constexpr size_t ACK_OFFSET = reader::OFF_ACK;
constexpr uint8_t ACK_SETTINGS = reader::ACK_LETTER;
constexpr uint8_t KIND_SETTINGS = reader::KIND_SETTINGS;
constexpr size_t READ_ANSWER_MARK_OFFSET = reader::OFF_READ_LETTER;
constexpr uint8_t READ_ANSWER_MARK = reader::READ_LETTER;
constexpr size_t SETTINGS_OFFSET = reader::OFF_SETTINGS;
constexpr size_t SETTINGS_COUNT = reader::SETTINGS_LEN;

enum class QueryAnswer {
    KeyCodes,     // "K": a keypad, its codes follow
    NotKeypad,    // "M"
    SettingsAck,  // the query acknowledged like a settings frame
    None,         // anything else, including the query itself left in the buffer
};

Frame BuildKeyCodeFrame(const KeyCodes& codes);
Frame BuildKeypadQuery();
Frame BuildReadRequest();

// By byte 1 (and byte 2 for the acknowledgement), in the order K, M, ack.
QueryAnswer ClassifyQueryAnswer(const Frame& answer);
// The stored codes of a key-code answer.
KeyCodes CodesOfAnswer(const Frame& answer);
// Byte 1 alone decides whether the keypad stored the codes.
bool IsKeyCodeAck(const Frame& answer);

bool IsValidReadAnswer(const Frame& answer);
// The read answer headed like a settings frame, so the reader stores what it
// reported.
Frame SettingsFrameFromReadAnswer(const Frame& answer);
bool IsReadRequest(const Frame& frame);

}  // namespace kp
