#pragma once
// The reader settings on the wire: the settings frame and its
// acknowledgement, the read request and its answer, and the string frames
// that carry a separator or sentinel of two to nine bytes. Pure byte
// transformations; texts are GBK bytes. Every offset, kind, code and answer
// letter of these frames is declared here and nowhere else.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/HidLink.h"
#include "reader/Settings.h"

namespace reader {

using Frame = std::array<uint8_t, dev::FRAME_LEN>;

// Bytes 0 and 1 of every request: the lead byte and the kind.
constexpr size_t OFF_LEAD = 0;
constexpr size_t OFF_KIND = 1;
constexpr uint8_t REQUEST_LEAD = 0x20;
constexpr uint8_t KIND_SETTINGS = 0x20;
constexpr uint8_t KIND_STRING_WRITE = 0xFD;
constexpr uint8_t KIND_STRING_READ = 0xFC;
// The read request is this text followed by zeros; its first two bytes are
// those of a settings frame.
constexpr char READ_REQUEST_TEXT[] = "        RE         ";
constexpr size_t READ_REQUEST_TEXT_LEN = sizeof READ_REQUEST_TEXT - 1;

// Settings frame; bytes 3..16 come back unchanged in the read answer.
constexpr size_t OFF_T1_START_COPY = 2;
constexpr size_t OFF_SENTINELS = 3;  // six bytes, track by track, start before end
constexpr size_t OFF_TRACKS = 9;
constexpr size_t OFF_CR = 10;
constexpr size_t OFF_FILTER = 11;
constexpr size_t OFF_FORMAT = 12;
constexpr size_t OFF_ID_SYMBOLS = 13;  // middle separator, start string, end string
constexpr size_t OFF_ENTER = 16;
constexpr size_t OFF_SETTINGS = 3;
constexpr size_t SETTINGS_LEN = 14;
using StoredSettings = std::array<uint8_t, SETTINGS_LEN>;

// Digits of the track, carriage-return, filter and Enter bytes.
constexpr uint8_t DIGIT_ZERO = '0';
constexpr uint8_t TRACK1_BIT = 1, TRACK2_BIT = 2, TRACK3_BIT = 4;
constexpr uint8_t CR_TRACK1_BIT = 4, CR_TRACK2_BIT = 2, CR_TRACK3_BIT = 1;
constexpr uint8_t CR_PACKET = '8';
constexpr uint8_t FLAG_ON = '1';
constexpr uint8_t FLAG_OFF = '0';
// Format n (1..13) travels as '0' + n, that is "1" to "=".

// Text codes.
constexpr uint8_t CODE_EMPTY = 0x01;      // sentinels: no sentinel
constexpr uint8_t CODE_OFF = 0x04;        // ID-card symbols: box not ticked
constexpr uint8_t LONG_TEXT_BASE = 0xC8;  // 0xC8 + n: an n-byte text sent by a string frame

// String write frame: index, length, text. String read frame: index.
constexpr size_t OFF_FIELD_INDEX = 2;
constexpr size_t OFF_TEXT_LEN = 3;
constexpr size_t OFF_TEXT = 4;
// String read answer: letter, 0xC8 + length, text.
constexpr size_t OFF_READ_TEXT_CODE = 2;
constexpr size_t OFF_READ_TEXT = 3;

// Answer letters.
constexpr size_t OFF_ACK = 2;
constexpr uint8_t ACK_LETTER = 'Y';  // settings accepted
constexpr size_t OFF_READ_LETTER = 2;
constexpr uint8_t READ_LETTER = 'R';  // settings read answer
constexpr size_t OFF_STRING_LETTER = 1;
constexpr uint8_t STRING_STORED_LETTER = 'S';
constexpr uint8_t STRING_READ_LETTER = 'T';
// An older reader answers a string write as it acknowledges a settings
// frame: the frame's kind at byte 1 and the acknowledgement letter at byte 2.
constexpr size_t OFF_OLD_READER_KIND = 1;
constexpr size_t OFF_OLD_READER_ACK = 2;

// Read answer lengths: the offset of the first 0x00 at or after byte 2.
constexpr size_t MIN_VALID_ANSWER_LEN = 16;
constexpr size_t CONFIGURED_ANSWER_LEN = 17;

// The sentinel fields (SENTINEL_FIELDS) fill settings bytes 3..8 in their
// order, the ID-card symbols (ID_SYMBOL_FIELDS) bytes 13..15.

// Order of the string write frames on the wire.
constexpr std::array<int, 9> STRING_WRITE_ORDER = {1, 4, 2, 5, 3, 6, 7, 8, 9};
// Fields whose long text the reader could not store, by field index.
using FallBacks = std::array<bool, FIELD_COUNT + 1>;

// Whether the field goes to the reader as a string write frame: a text of
// two or more bytes, or one byte that is not its own code (IsOwnCode); for an
// ID-card symbol only when its box is ticked.
bool NeedsStringWrite(const Settings& s, int index);
// Length a string write frame announces for a text: longer than
// MAX_TEXT_LEN counts as 1.
size_t AnnouncedLength(size_t textLen);

Frame EncodeSettings(const Settings& s, const FallBacks& fellBack = {});
Frame EncodeStringWrite(int index, const std::string& text);
struct StringWrite {
    int index;
    Frame frame;
};
// The string write frames one Set Device sends, in wire order.
std::vector<StringWrite> StringWriteFrames(const Settings& s);
Frame EncodeReadRequest();
Frame EncodeStringRead(int index);

bool IsSettingsAck(const Frame& answer);

// Offset of the first 0x00 at or after byte 2; FRAME_LEN when there is none.
size_t AnswerLength(const Frame& answer);

enum class TextKind { Empty, Off, Char, Long };
struct TextField {
    TextKind kind = TextKind::Empty;
    uint8_t ch = 0;  // the character of Char
};

struct ReadAnswer {
    size_t length = 0;
    bool valid = false;
    // Only meaningful when valid.
    std::array<TextField, FIELD_COUNT + 1> fields{};  // by field index; Long: fetch by string read
    std::array<bool, 3> tracks{};
    std::array<bool, 3> crAfterTrack{};
    bool crAfterPacket = false;
    bool filter = false;
    int format = 0;  // 1..FORMAT_COUNT, 0 for a byte outside "1" to "="
    bool enter = false;

    bool Configured() const { return length >= CONFIGURED_ANSWER_LEN; }
};
ReadAnswer DecodeReadAnswer(const Frame& answer);

enum class StringWriteAnswer { Stored, OldReader, Unknown };
StringWriteAnswer DecodeStringWriteAnswer(const Frame& answer);

// The text of a string read answer (GBK bytes, at most MAX_TEXT_LEN, any
// byte values); nullopt when the answer is not one.
std::optional<std::string> DecodeStringReadAnswer(const Frame& answer);

}  // namespace reader
