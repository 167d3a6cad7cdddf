// The reader settings frames and their answers, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/SettingsFrame.h"

using reader::Frame;
using reader::Settings;

namespace {

// The view's factory settings.
Settings Factory() {
    Settings s;
    const char* texts[] = {"", "%", ";", "+", "?", "?", "?", ",", ";", "?"};
    for (int i = 1; i <= 9; ++i) s.texts[i] = texts[i];
    s.tracks = {true, true, true};
    s.crAfterPacket = true;
    s.idFormat = 1;
    s.enter = true;
    return s;
}

Frame Bytes(std::vector<uint8_t> head) {
    Frame f{};
    std::copy(head.begin(), head.end(), f.begin());
    return f;
}

TEST(SettingsFrame, FactorySettings) {
    EXPECT_EQ(reader::EncodeSettings(Factory()),
              Bytes({0x20, 0x20, '%', '%', '?', ';', '?', '+', '?', '7', '8', '0', '1', 0x04, 0x04,
                     0x04, '1'}));
    EXPECT_TRUE(reader::StringWriteFrames(Factory()).empty());
}

TEST(SettingsFrame, Sentinels) {
    Settings s = Factory();
    for (int i = 1; i <= 6; ++i) s.texts[i] = "";
    Frame f = reader::EncodeSettings(s);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 2, f.begin() + 9),
              (std::vector<uint8_t>{0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01}));

    s.texts[1] = "%";
    s.texts[2] = ";";
    f = reader::EncodeSettings(s);
    EXPECT_EQ(f[2], '%');
    EXPECT_EQ(f[3], '%');
    EXPECT_EQ(f[4], 0x01);
    EXPECT_EQ(f[5], ';');
}

TEST(SettingsFrame, TrackAndCarriageReturnDigits) {
    struct Case {
        std::array<bool, 3> tracks, cr;
        bool packet;
        uint8_t tracksByte, crByte;
    } cases[] = {
        {{true, false, true}, {true, false, true}, false, '5', '5'},
        {{true, true, false}, {true, true, false}, false, '3', '6'},
        {{true, true, true}, {true, true, true}, true, '7', '8'},
        {{false, false, false}, {false, false, false}, false, '0', '0'},
        {{false, false, true}, {false, false, true}, false, '4', '1'},
    };
    for (const Case& c : cases) {
        Settings s = Factory();
        s.tracks = c.tracks;
        s.crAfterTrack = c.cr;
        s.crAfterPacket = c.packet;
        const Frame f = reader::EncodeSettings(s);
        EXPECT_EQ(f[9], c.tracksByte);
        EXPECT_EQ(f[10], c.crByte);
    }
}

TEST(SettingsFrame, FormatFilterAndEnter) {
    Settings s = Factory();
    s.idFormat = 13;
    s.filterEquals = true;
    s.enter = false;
    Frame f = reader::EncodeSettings(s);
    EXPECT_EQ(f[11], '1');
    EXPECT_EQ(f[12], '=');
    EXPECT_EQ(f[16], '0');
    s.idFormat =
        0;  // none selected: the factory format rather than a byte the reader cannot return
    EXPECT_EQ(reader::EncodeSettings(s)[12], '1');
}

TEST(SettingsFrame, MiddleSeparatorAsLongText) {
    Settings s = Factory();
    s.idSymbolOn[0] = true;
    s.texts[7] = "--";
    EXPECT_EQ(reader::EncodeSettings(s)[13], 0xCA);
    const auto writes = reader::StringWriteFrames(s);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].index, 7);
    EXPECT_EQ(writes[0].frame, Bytes({0x20, 0xFD, 7, 2, '-', '-'}));
}

TEST(SettingsFrame, NineCharacterEndString) {
    Settings s = Factory();
    s.idSymbolOn[2] = true;
    s.texts[9] = "123456789";
    EXPECT_EQ(reader::EncodeSettings(s)[15], 0xD1);
    const auto writes = reader::StringWriteFrames(s);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].frame,
              Bytes({0x20, 0xFD, 9, 9, '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
}

TEST(SettingsFrame, IdSymbols) {
    Settings s = Factory();
    s.idSymbolOn = {true, true, true};
    s.texts[7] = "";          // empty: its default
    s.texts[8] = "#";         // one character
    s.texts[9] = "\xC7\xE5";  // one Chinese character is two bytes: a long text
    const Frame f = reader::EncodeSettings(s);
    EXPECT_EQ(f[13], ',');
    EXPECT_EQ(f[14], '#');
    EXPECT_EQ(f[15], 0xCA);
    s.idSymbolOn = {false, false, false};
    s.texts[7] = "abc";
    const Frame off = reader::EncodeSettings(s);
    EXPECT_EQ(std::vector<uint8_t>(off.begin() + 13, off.begin() + 16),
              (std::vector<uint8_t>{0x04, 0x04, 0x04}));
    EXPECT_TRUE(reader::StringWriteFrames(s).empty());  // unticked symbols are not sent
}

TEST(SettingsFrame, StringWritesGoInWireOrderAndFallBackToDefaults) {
    Settings s = Factory();
    s.idSymbolOn = {true, true, true};
    for (int i = 1; i <= 9; ++i) s.texts[i] = std::string(2, static_cast<char>('a' + i));
    std::vector<int> order;
    for (const auto& w : reader::StringWriteFrames(s)) order.push_back(w.index);
    EXPECT_EQ(order, (std::vector<int>{1, 4, 2, 5, 3, 6, 7, 8, 9}));

    Frame f = reader::EncodeSettings(s);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 2, f.begin() + 9), std::vector<uint8_t>(7, 0xCA));
    reader::FallBacks all;
    all.fill(true);
    f = reader::EncodeSettings(s, all);
    EXPECT_EQ(std::string(f.begin() + 2, f.begin() + 9), "%%?;?+?");
    EXPECT_EQ(std::string(f.begin() + 13, f.begin() + 16), ",;?");
}

TEST(SettingsFrame, TooLongTextIsAnnouncedAsOneCharacter) {
    const Frame f = reader::EncodeStringWrite(8, "0123456789");
    EXPECT_EQ(f, Bytes({0x20, 0xFD, 8, 1, '0'}));
    Settings s = Factory();
    s.idSymbolOn[1] = true;
    s.texts[8] = "0123456789";
    // The settings byte agrees with the announced length instead of running past 0xD1.
    EXPECT_EQ(reader::EncodeSettings(s)[14], 0xC9);
}

TEST(SettingsFrame, ReadRequestAndStringRead) {
    Frame expected{};
    const std::string text = "        RE         ";
    std::copy(text.begin(), text.end(), expected.begin());
    EXPECT_EQ(reader::EncodeReadRequest(), expected);
    EXPECT_EQ(reader::EncodeStringRead(7), Bytes({0x20, 0xFC, 7}));
}

TEST(SettingsFrame, Acknowledgement) {
    EXPECT_TRUE(reader::IsSettingsAck(Bytes({0, 0, 'Y'})));
    EXPECT_FALSE(reader::IsSettingsAck(Bytes({0, 'Y', 0})));
    EXPECT_FALSE(reader::IsSettingsAck(Frame{}));
}

// A read answer carrying settings bytes 3..16.
Frame Answer(std::vector<uint8_t> settings) {
    std::vector<uint8_t> head = {0, 0, 'R'};
    head.insert(head.end(), settings.begin(), settings.end());
    return Bytes(head);
}

TEST(ReadAnswer, ValidityByLetterAndLength) {
    const std::vector<uint8_t> full = {'%', '?', ';', '?',  '+',  '?',  '7',
                                       '8', '0', '1', 0x04, 0x04, 0x04, '1'};
    struct Case {
        Frame answer;
        size_t length;
        bool valid, configured;
    } cases[] = {
        {Answer(full), 17, true, true},
        // first 0x00 at 16: valid, the Enter byte reads as off
        {Answer({'%', '?', ';', '?', '+', '?', '7', '8', '0', '1', 4, 4, 4, 0}), 16, true, false},
        // 0x00 at 15
        {Answer({'%', '?', ';', '?', '+', '?', '7', '8', '0', '1', 4, 4, 0, '1'}), 15, false,
         false},
        // "R" and ten bytes
        {Answer({1, 1, 1, 1, 1, 1, '7', '8', '0', '1'}), 13, false, false},
        // a factory-fresh reader
        {Answer({}), 3, false, false},
        // full length without "R"
        {Bytes({0, 0, 'X', '%', '?', ';', '?', '+', '?', '7', '8', '0', '1', 4, 4, 4, '1'}), 17,
         false, true},
        // nothing came back: the request itself
        {reader::EncodeReadRequest(), 19, false, true},
    };
    for (const Case& c : cases) {
        const reader::ReadAnswer a = reader::DecodeReadAnswer(c.answer);
        EXPECT_EQ(a.length, c.length);
        EXPECT_EQ(a.valid, c.valid) << c.length;
        EXPECT_EQ(a.Configured(), c.configured) << c.length;
    }
    Frame noZero;
    noZero.fill('R');
    EXPECT_EQ(reader::AnswerLength(noZero), 64u);
    EXPECT_FALSE(reader::DecodeReadAnswer(
                     Answer({'%', '?', ';', '?', '+', '?', '7', '8', '0', '1', 4, 4, 4, 0}))
                     .enter);
}

TEST(ReadAnswer, TextFields) {
    const reader::ReadAnswer a = reader::DecodeReadAnswer(
        Answer({0x01, 0xC8, 'Y', 0xD1, 0x04, 0xFF, '0', '0', '0', '1', 0x04, 0xCB, '#', '1'}));
    ASSERT_TRUE(a.valid);
    using reader::TextKind;
    // bytes 3..8 belong to field indexes 1, 4, 2, 5, 3, 6
    const std::pair<int, TextKind> expected[] = {
        {1, TextKind::Empty}, {4, TextKind::Long}, {2, TextKind::Char},
        {5, TextKind::Long},  {3, TextKind::Char}, {6, TextKind::Long},
        {7, TextKind::Off},   {8, TextKind::Long}, {9, TextKind::Char}};
    for (const auto& [index, kind] : expected) EXPECT_EQ(a.fields[index].kind, kind) << index;
    EXPECT_EQ(a.fields[2].ch, 'Y');
    EXPECT_EQ(a.fields[3].ch, 0x04);  // 0x04 switches off only the ID-card symbols
    EXPECT_EQ(a.fields[9].ch, '#');
}

TEST(ReadAnswer, TracksCarriageReturnsAndFormat) {
    struct Case {
        uint8_t tracksByte, crByte, formatByte;
        std::array<bool, 3> tracks, cr;
        bool packet;
        int format;
    } cases[] = {
        {'7', '7', '1', {true, true, true}, {true, true, true}, false, 1},
        {'6', '6', '=', {false, true, true}, {true, true, false}, false, 13},
        {'5', '5', ':', {true, false, true}, {true, false, true}, false, 10},
        {'0', '8', '0', {false, false, false}, {false, false, false}, true, 0},
        {'9', '9', '>', {false, false, false}, {false, false, false}, false, 0},
        {'1', '1', 0x04, {true, false, false}, {false, false, true}, false, 0},
    };
    for (const Case& c : cases) {
        const reader::ReadAnswer a = reader::DecodeReadAnswer(
            Answer({1, 1, 1, 1, 1, 1, c.tracksByte, c.crByte, '1', c.formatByte, 4, 4, 4, '0'}));
        ASSERT_TRUE(a.valid);
        EXPECT_EQ(a.tracks, c.tracks) << c.tracksByte;
        EXPECT_EQ(a.crAfterTrack, c.cr) << c.crByte;
        EXPECT_EQ(a.crAfterPacket, c.packet) << c.crByte;
        EXPECT_EQ(a.format, c.format) << c.formatByte;
        EXPECT_TRUE(a.filter);
    }
}

TEST(StringAnswers, Write) {
    using reader::StringWriteAnswer;
    struct Case {
        Frame answer;
        StringWriteAnswer expected;
    } cases[] = {
        {Bytes({0, 'S'}), StringWriteAnswer::Stored},
        {Bytes({0x20, 0xFD, 'Y'}), StringWriteAnswer::OldReader},
        {Bytes({0x20, 0xFD, 7, 2, '-', '-'}), StringWriteAnswer::Unknown},  // nothing came back
        {Bytes({0, 0, 'Y'}), StringWriteAnswer::Unknown},
        {Frame{}, StringWriteAnswer::Unknown},
    };
    for (const Case& c : cases) EXPECT_EQ(reader::DecodeStringWriteAnswer(c.answer), c.expected);
}

TEST(StringAnswers, Read) {
    struct Case {
        Frame answer;
        std::optional<std::string> text;
    } cases[] = {
        {Bytes({0, 'T', 0xCB, 'a', 'b', 'c', 'd'}), "abc"},
        {Bytes({0, 'T', 0xD1, '1', '2', '3', '4', '5', '6', '7', '8', '9', 'X'}), "123456789"},
        {Bytes({0, 'T', 0xC8, 'a'}), ""},
        {Bytes({0, 'T', 0xD2, 'a'}), ""},                              // above nine
        {Bytes({0, 'T', 0xC7, 'a'}), ""},                              // below 0xC8
        {Bytes({0, 'T', 0xCB, 'a', 0, 'c'}), std::string("a\0c", 3)},  // every byte
        {Bytes({0x20, 0xFC, 7}), std::nullopt},                        // nothing came back
        {Bytes({0, 'S', 0xCB, 'a', 'b', 'c'}), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(reader::DecodeStringReadAnswer(c.answer), c.text);
}

}  // namespace
