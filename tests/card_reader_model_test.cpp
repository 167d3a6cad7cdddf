// The virtual card reader's answers.

#include <gtest/gtest.h>

#include "reader/SettingsFrame.h"
#include "sim/CardReaderModel.h"

using sim::CardReaderModel;
using sim::Frame;

namespace {

Frame Bytes(std::vector<uint8_t> head) {
    Frame f{};
    std::copy(head.begin(), head.end(), f.begin());
    return f;
}

TEST(CardReaderModel, FactoryFreshReaderGivesAShortReadAnswer) {
    CardReaderModel m;
    const auto answers = m.OnFrame(reader::EncodeReadRequest());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], Bytes({0, 0, 'R'}));
}

TEST(CardReaderModel, StoresSettingsAndAnswersThemBack) {
    CardReaderModel m;
    const Frame settings = Bytes({0x20, 0x20, 'Y', 'Y', '?', ';', '?', '+', '?', '6', '8', '1', '=',
                                  0xCA, 0x04, '!', '0', 0x77});
    const auto ack = m.OnFrame(settings);
    ASSERT_EQ(ack.size(), 1u);
    EXPECT_EQ(ack[0][2], 'Y');
    const auto answers = m.OnFrame(reader::EncodeReadRequest());
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], Bytes({0, 0, 'R', 'Y', '?', ';', '?', '+', '?', '6', '8', '1', '=', 0xCA,
                                 0x04, '!', '0'}));
}

TEST(CardReaderModel, LongTexts) {
    CardReaderModel m;
    auto answers = m.OnFrame(Bytes({0x20, 0xFD, 7, 3, 'a', 'b', 'c', 'd'}));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][1], 'S');
    EXPECT_EQ(m.LongText(7), "abc");
    answers = m.OnFrame(Bytes({0x20, 0xFC, 7}));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], Bytes({0, 'T', 0xCB, 'a', 'b', 'c'}));
    // Nothing stored yet: an empty text.
    EXPECT_EQ(m.OnFrame(Bytes({0x20, 0xFC, 9}))[0], Bytes({0, 'T', 0xC8}));
}

TEST(CardReaderModel, OldFirmware) {
    CardReaderModel m(CardReaderModel::Firmware::Old);
    const auto answers = m.OnFrame(Bytes({0x20, 0xFD, 5, 2, 'a', 'b'}));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][1], 0xFD);
    EXPECT_EQ(answers[0][2], 'Y');
    EXPECT_EQ(m.LongText(5), "a");
    EXPECT_TRUE(m.OnFrame(Bytes({0x20, 0xFC, 5})).empty());
}

TEST(CardReaderModel, FramesItDoesNotKnowGetNoAnswer) {
    CardReaderModel m;
    for (const Frame& f : {Bytes({0x20, 0xFF, 0xFD}), Bytes({0x20, 0xFE}), Bytes({0, 0, 'R'}),
                           Bytes({0x20, 0xFD, 0, 2, 'a', 'b'}),   // index 0
                           Bytes({0x20, 0xFD, 10, 2, 'a', 'b'}),  // index 10
                           Bytes({0x20, 0xFD, 3, 0}),             // no text
                           Bytes({0x20, 0xFD, 3, 10, 'a'}),       // too long
                           Bytes({0x20, 0xFC, 0})})
        EXPECT_TRUE(m.OnFrame(f).empty());
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(m.LongText(i), "");
    EXPECT_EQ(m.StoredSettings(), reader::StoredSettings{});
}

}  // namespace
