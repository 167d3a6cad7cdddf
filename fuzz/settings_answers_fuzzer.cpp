// The reader's answers to the settings frames: the acknowledgement, the read
// answer with the texts it announces, the string write and string read
// answers, on arbitrary frames. Then settings encoded as the tool sends them
// and read back as a reader reports them must keep every value.

#include <algorithm>
#include <cstdint>
#include <string>

#include "Check.h"
#include "FuzzInput.h"
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
        FUZZ_CHECK(text->size() <= MAX_TEXT_LEN);
        FUZZ_CHECK(text->find('\0') == std::string::npos);
    }
}

// A text a widget can hold: printable ASCII and whole two-byte GBK
// characters, as the GBK conversion of a widget's text yields.
std::string FieldText(fuzz::FuzzInput& in) {
    std::string text;
    const size_t chars = in.Byte() % 12;
    for (size_t i = 0; i < chars; ++i) {
        const uint8_t b = in.Byte();
        if (b < 0x80) {
            text += static_cast<char>(0x20 + b % 0x5F);
        } else {
            text += static_cast<char>(0x81 + b % 0x7E);
            const uint8_t trail = static_cast<uint8_t>(0x40 + in.Byte() % 0xBF);
            text += static_cast<char>(trail == 0x7F ? 0x80 : trail);
        }
    }
    return text;
}

void RoundTrip(fuzz::FuzzInput& in) {
    Settings s;
    for (int index = 1; index <= FIELD_COUNT; ++index)
        s.texts[static_cast<size_t>(index)] = FieldText(in);
    for (auto& b : s.idSymbolOn) b = in.Bool();
    for (auto& b : s.tracks) b = in.Bool();
    for (auto& b : s.crAfterTrack) b = in.Bool();
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
        const std::string& text = s.texts[slot];
        const TextField& field = a.fields[slot];
        if (IsIdSymbolField(index) && !s.IdSymbolOn(index)) {
            FUZZ_CHECK(field.kind == TextKind::Off);
        } else if (text.empty()) {
            FUZZ_CHECK(field.kind == (IsIdSymbolField(index) ? TextKind::Char : TextKind::Empty));
        } else if (text.size() == 1 || fellBack[slot]) {
            FUZZ_CHECK(field.kind == TextKind::Char);
        } else {
            FUZZ_CHECK(field.kind == TextKind::Long);
            FUZZ_CHECK(NeedsStringWrite(s, index));
            // The string write frame carries what the read answer announces.
            const Frame write = EncodeStringWrite(index, text);
            FUZZ_CHECK(field.ch - LONG_TEXT_BASE == write[OFF_TEXT_LEN]);
            const auto carried = write.begin() + OFF_TEXT;
            FUZZ_CHECK(std::string(carried, carried + write[OFF_TEXT_LEN]) ==
                       text.substr(0, write[OFF_TEXT_LEN]));
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
