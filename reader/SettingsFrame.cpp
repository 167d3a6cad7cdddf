#include "reader/SettingsFrame.h"

#include <algorithm>

#include "reader/SendRule.h"

namespace reader {
namespace {

// Whether a non-empty text goes out as its own one byte.
bool SentAsCode(const std::string& text, int index) {
    return text.size() == 1 && IsOwnCode(static_cast<uint8_t>(text[0]), index);
}

// Code of a non-empty text: its one byte, or the long-text marker, or the
// field's default character when the reader could not store the long text.
uint8_t TextCode(const std::string& text, bool fellBack, int index) {
    if (SentAsCode(text, index)) return static_cast<uint8_t>(text[0]);
    if (fellBack) return static_cast<uint8_t>(DEFAULT_CHARS[static_cast<size_t>(index)]);
    return static_cast<uint8_t>(LONG_TEXT_BASE + AnnouncedLength(text.size()));
}

uint8_t Digit(uint8_t value) {
    return static_cast<uint8_t>(DIGIT_ZERO + value);
}

// The value of a digit byte "0" to "7"; 0 for any other byte.
uint8_t Bits(uint8_t digit) {
    return digit >= DIGIT_ZERO && digit <= DIGIT_ZERO + 7 ? static_cast<uint8_t>(digit - DIGIT_ZERO)
                                                          : 0;
}

}  // namespace

bool NeedsStringWrite(const Settings& s, int index) {
    if (index < 1 || index > FIELD_COUNT) return false;
    if (IsIdSymbolField(index) && !s.IdSymbolOn(index)) return false;
    const std::string& text = s.SentText(index);
    return !text.empty() && !SentAsCode(text, index);
}

size_t AnnouncedLength(size_t textLen) {
    return textLen > MAX_TEXT_LEN ? 1 : textLen;
}

Frame EncodeSettings(const Settings& s, const FallBacks& fellBack) {
    Frame f{};
    f[OFF_LEAD] = REQUEST_LEAD;
    f[OFF_KIND] = KIND_SETTINGS;
    for (size_t i = 0; i < SENTINEL_FIELDS.size(); ++i) {
        const auto index = static_cast<size_t>(SENTINEL_FIELDS[i]);
        const std::string& text = s.SentText(SENTINEL_FIELDS[i]);
        f[OFF_SENTINELS + i] =
            text.empty() ? CODE_EMPTY : TextCode(text, fellBack[index], SENTINEL_FIELDS[i]);
    }
    // The first copy of the track 1 start sentinel stays 0x00 when it is empty.
    if (!s.SentText(FIELD_T1_START).empty()) f[OFF_T1_START_COPY] = f[OFF_SENTINELS];

    f[OFF_TRACKS] = Digit((s.tracks[0] ? TRACK1_BIT : 0) | (s.tracks[1] ? TRACK2_BIT : 0) |
                          (s.tracks[2] ? TRACK3_BIT : 0));
    f[OFF_CR] = s.crAfterPacket ? CR_PACKET
                                : Digit((s.crAfterTrack[0] ? CR_TRACK1_BIT : 0) |
                                        (s.crAfterTrack[1] ? CR_TRACK2_BIT : 0) |
                                        (s.crAfterTrack[2] ? CR_TRACK3_BIT : 0));
    f[OFF_FILTER] = s.filterEquals ? FLAG_ON : FLAG_OFF;
    // With no format selected the factory format goes out rather than a byte
    // that would make the reader's stored settings unreadable.
    const int format = s.idFormat >= 1 && s.idFormat <= FORMAT_COUNT ? s.idFormat : 1;
    f[OFF_FORMAT] = Digit(static_cast<uint8_t>(format));

    for (size_t i = 0; i < ID_SYMBOL_FIELDS.size(); ++i) {
        const int index = ID_SYMBOL_FIELDS[i];
        const std::string& text = s.texts[static_cast<size_t>(index)];
        uint8_t code = CODE_OFF;
        if (s.idSymbolOn[i])
            code = text.empty() ? static_cast<uint8_t>(DEFAULT_CHARS[static_cast<size_t>(index)])
                                : TextCode(text, fellBack[static_cast<size_t>(index)], index);
        f[OFF_ID_SYMBOLS + i] = code;
    }
    f[OFF_ENTER] = s.enter ? FLAG_ON : FLAG_OFF;
    return f;
}

Frame EncodeStringWrite(int index, const std::string& text) {
    Frame f{};
    f[OFF_LEAD] = REQUEST_LEAD;
    f[OFF_KIND] = KIND_STRING_WRITE;
    f[OFF_FIELD_INDEX] = static_cast<uint8_t>(index);
    const size_t n = std::min(AnnouncedLength(text.size()), text.size());
    f[OFF_TEXT_LEN] = static_cast<uint8_t>(n);
    std::copy_n(text.begin(), n, f.begin() + OFF_TEXT);
    return f;
}

std::vector<StringWrite> StringWriteFrames(const Settings& s) {
    std::vector<StringWrite> out;
    for (int index : STRING_WRITE_ORDER)
        if (NeedsStringWrite(s, index))
            out.push_back({index, EncodeStringWrite(index, s.SentText(index))});
    return out;
}

Frame EncodeReadRequest() {
    Frame f{};
    std::copy_n(READ_REQUEST_TEXT, READ_REQUEST_TEXT_LEN, f.begin());
    return f;
}

Frame EncodeStringRead(int index) {
    Frame f{};
    f[OFF_LEAD] = REQUEST_LEAD;
    f[OFF_KIND] = KIND_STRING_READ;
    f[OFF_FIELD_INDEX] = static_cast<uint8_t>(index);
    return f;
}

bool IsSettingsAck(const Frame& answer) {
    return answer[OFF_ACK] == ACK_LETTER;
}

size_t AnswerLength(const Frame& answer) {
    for (size_t i = OFF_READ_LETTER; i < answer.size(); ++i)
        if (answer[i] == 0) return i;
    return answer.size();
}

ReadAnswer DecodeReadAnswer(const Frame& answer) {
    ReadAnswer a;
    a.length = AnswerLength(answer);
    a.valid = answer[OFF_READ_LETTER] == READ_LETTER && a.length >= MIN_VALID_ANSWER_LEN;
    if (!a.valid) return a;

    for (size_t i = 0; i < SENTINEL_FIELDS.size(); ++i) {
        const uint8_t b = answer[OFF_SENTINELS + i];
        TextField& field = a.fields[static_cast<size_t>(SENTINEL_FIELDS[i])];
        field.kind = b == CODE_EMPTY       ? TextKind::Empty
                     : b >= LONG_TEXT_BASE ? TextKind::Long
                                           : TextKind::Char;
        field.ch = b;
    }
    const uint8_t tracks = Bits(answer[OFF_TRACKS]);
    a.tracks = {(tracks & TRACK1_BIT) != 0, (tracks & TRACK2_BIT) != 0, (tracks & TRACK3_BIT) != 0};
    a.crAfterPacket = answer[OFF_CR] == CR_PACKET;
    const uint8_t cr = Bits(answer[OFF_CR]);
    a.crAfterTrack = {(cr & CR_TRACK1_BIT) != 0, (cr & CR_TRACK2_BIT) != 0,
                      (cr & CR_TRACK3_BIT) != 0};
    a.filter = answer[OFF_FILTER] == FLAG_ON;
    const uint8_t format = answer[OFF_FORMAT];
    a.format = format > DIGIT_ZERO && format <= DIGIT_ZERO + FORMAT_COUNT ? format - DIGIT_ZERO : 0;
    for (size_t i = 0; i < ID_SYMBOL_FIELDS.size(); ++i) {
        const uint8_t b = answer[OFF_ID_SYMBOLS + i];
        TextField& field = a.fields[static_cast<size_t>(ID_SYMBOL_FIELDS[i])];
        field.kind = b >= LONG_TEXT_BASE ? TextKind::Long
                     : b == CODE_OFF     ? TextKind::Off
                                         : TextKind::Char;
        field.ch = b;
    }
    a.enter = answer[OFF_ENTER] == FLAG_ON;
    return a;
}

StringWriteAnswer DecodeStringWriteAnswer(const Frame& answer) {
    if (answer[OFF_STRING_LETTER] == STRING_STORED_LETTER) return StringWriteAnswer::Stored;
    if (answer[OFF_OLD_READER_KIND] == KIND_STRING_WRITE &&
        answer[OFF_OLD_READER_ACK] == ACK_LETTER)
        return StringWriteAnswer::OldReader;
    return StringWriteAnswer::Unknown;
}

std::optional<std::string> DecodeStringReadAnswer(const Frame& answer) {
    if (answer[OFF_STRING_LETTER] != STRING_READ_LETTER) return std::nullopt;
    size_t n = static_cast<uint8_t>(answer[OFF_READ_TEXT_CODE] - LONG_TEXT_BASE);
    if (n > MAX_TEXT_LEN) n = 0;
    // Every byte, 0x00 included: an edit shows what is no character in a
    // form that converts back.
    return std::string(answer.begin() + OFF_READ_TEXT, answer.begin() + OFF_READ_TEXT + n);
}

}  // namespace reader
