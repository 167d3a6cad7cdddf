// The reader's answers to the settings frames: the acknowledgement, the read
// answer with the texts it announces, the string write and string read
// answers, on arbitrary frames. Then settings with texts of any bytes (a
// profile's byte marks and a device's read texts hold any), encoded as the
// tool sends them and read back as a reader reports them, must keep every
// value: a byte the reader would misread as a code goes as a long text, and a
// long text comes back from the string read byte for byte, NUL included.

#include <algorithm>
#include <cstdint>
#include <string>

#include "Check.h"
#include "FuzzInput.h"
#include "reader/SendRule.h"
#include "reader/SettingsFrame.h"

namespace {

using namespace reader;

void DecodeAnything(const Frame& f) {
    (void)IsSettingsAck(f);

    const size_t length = AnswerLength(f);
    FUZZ_CHECK(length >= OFF_READ_LETTER && length <= f.size());
    const ReadAnswer a = DecodeReadAnswer(f);
    FUZZ_CHECK(a.length == length);
    if (a.valid) {
        FUZZ_CHECK(a.length >= MIN_VALID_ANSWER_LEN);
        FUZZ_CHECK(a.format >= 0 && a.format <= FORMAT_COUNT);
        for (int index = 1; index <= FIELD_COUNT; ++index) {
            const TextField& field = a.fields[static_cast<size_t>(index)];
            FUZZ_CHECK((field.kind == TextKind::Long) == (field.ch >= LONG_TEXT_BASE));
            FUZZ_CHECK(field.kind != TextKind::Off || IsIdSymbolField(index));
        }
    }

    (void)DecodeStringWriteAnswer(f);

    if (const auto text = DecodeStringReadAnswer(f)) {
        // Exactly the bytes the length code announces, NUL kept; none for a
        // code outside 0xC8..0xD1.
        const size_t announced = static_cast<uint8_t>(f[OFF_READ_TEXT_CODE] - LONG_TEXT_BASE);
        const size_t n = announced <= MAX_TEXT_LEN ? announced : 0;
        FUZZ_CHECK(*text == std::string(f.begin() + OFF_READ_TEXT, f.begin() + OFF_READ_TEXT + n));
    }
}

// The byte the settings frame carries for a field the reader reports as one
// character.
uint8_t ExpectedChar(const std::string& text, bool fellBack, int index) {
    if (text.size() == 1 && IsOwnCode(static_cast<uint8_t>(text[0]), index))
        return static_cast<uint8_t>(text[0]);
    if (text.empty() || fellBack)
        return static_cast<uint8_t>(DEFAULT_CHARS[static_cast<size_t>(index)]);
    return 0;  // a long text: no character
}

// The reader's answer to a string read of a text it stored.
Frame StringReadAnswer(const std::string& stored) {
    Frame f{};
    f[OFF_STRING_LETTER] = STRING_READ_LETTER;
    f[OFF_READ_TEXT_CODE] = static_cast<uint8_t>(LONG_TEXT_BASE + stored.size());
    std::copy(stored.begin(), stored.end(), f.begin() + OFF_READ_TEXT);
    return f;
}

void RoundTrip(fuzz::FuzzInput& in) {
    Settings s;
    // Texts of up to twelve arbitrary bytes: past nine, only the first travels.
    for (int index = 1; index <= FIELD_COUNT; ++index)
        s.texts[static_cast<size_t>(index)] = in.Text(12);
    for (auto& b : s.idSymbolOn) b = in.Bool();
    for (auto& b : s.tracks) b = in.Bool();
    for (auto& b : s.crAfterTrack) b = in.Bool();
    s.sentinelsOn = !in.Bool();  // on when the input has run out, as by default
    s.crAfterPacket = in.Bool();
    s.filterEquals = in.Bool();
    s.idFormat = in.Byte() % (FORMAT_COUNT + 1);
    s.enter = in.Bool();
    FallBacks fellBack{};
    for (auto& b : fellBack) b = in.Bool();

    // The reader stores settings bytes 3..16 and reports them after "R".
    Frame answer = EncodeSettings(s, fellBack);
    answer[OFF_READ_LETTER] = READ_LETTER;
    const ReadAnswer a = DecodeReadAnswer(answer);
    FUZZ_CHECK(a.valid && a.Configured());
    FUZZ_CHECK(a.tracks == s.tracks);
    FUZZ_CHECK(a.crAfterPacket == s.crAfterPacket);
    if (!s.crAfterPacket) FUZZ_CHECK(a.crAfterTrack == s.crAfterTrack);
    FUZZ_CHECK(a.filter == s.filterEquals);
    FUZZ_CHECK(a.format == (s.idFormat == 0 ? 1 : s.idFormat));
    FUZZ_CHECK(a.enter == s.enter);
    for (int index = 1; index <= FIELD_COUNT; ++index) {
        const auto slot = static_cast<size_t>(index);
        const std::string& text = s.SentText(index);
        const TextField& field = a.fields[slot];
        const bool ownCode = text.size() == 1 && IsOwnCode(static_cast<uint8_t>(text[0]), index);
        if (IsIdSymbolField(index) && !s.IdSymbolOn(index)) {
            FUZZ_CHECK(field.kind == TextKind::Off);
            FUZZ_CHECK(!NeedsStringWrite(s, index));
        } else if (text.empty() && !IsIdSymbolField(index)) {
            FUZZ_CHECK(field.kind == TextKind::Empty);
            FUZZ_CHECK(!NeedsStringWrite(s, index));
        } else if (text.empty() || ownCode || fellBack[slot]) {
            FUZZ_CHECK(field.kind == TextKind::Char);
            FUZZ_CHECK(field.ch == ExpectedChar(text, fellBack[slot], index));
            FUZZ_CHECK(NeedsStringWrite(s, index) == (!text.empty() && !ownCode));
        } else {
            FUZZ_CHECK(field.kind == TextKind::Long);
            FUZZ_CHECK(NeedsStringWrite(s, index));
            // The string write frame carries what the read answer announces,
            // and a string read gives it back byte for byte.
            const Frame write = EncodeStringWrite(index, text);
            const size_t n = write[OFF_TEXT_LEN];
            FUZZ_CHECK(field.ch - LONG_TEXT_BASE == n);
            FUZZ_CHECK(n == (text.size() <= MAX_TEXT_LEN ? text.size() : 1));
            const auto carried = write.begin() + OFF_TEXT;
            const std::string stored(carried, carried + n);
            FUZZ_CHECK(stored == text.substr(0, n));
            FUZZ_CHECK(DecodeStringReadAnswer(StringReadAnswer(stored)) == stored);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    Frame f{};
    in.Fill(f);
    DecodeAnything(f);
    RoundTrip(in);
    return 0;
}
