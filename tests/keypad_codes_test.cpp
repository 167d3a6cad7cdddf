// Key names, device key codes and the keypad's frames, byte for byte.

#include <gtest/gtest.h>

#include <string>

#include "app/Globals.h"
#include "app/keypad/KeyFieldNames.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"

namespace {

class KeypadCodes : public ::testing::Test {
  protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }
};

TEST_F(KeypadCodes, DefaultKeyCodeFrame) {
    const kp::Frame f = kp::BuildKeyCodeFrame(DEFAULT_KEY_CODES);
    const uint8_t head[] = {0x20, 0xFF, 0xFD, 0xF8, 0xF7, 0xF6, 0x37, 0x38, 0x39, 0xF5, 0x34,
                            0x35, 0x36, 0xF4, 0x31, 0x32, 0x33, 0xF3, 0xE9, 0x30, 0x2E, 0xFE};
    for (size_t i = 0; i < sizeof head; ++i) EXPECT_EQ(f[i], head[i]) << i;
    for (size_t i = sizeof head; i < f.size(); ++i) EXPECT_EQ(f[i], 0x00) << i;
}

TEST_F(KeypadCodes, QueryAndReadRequest) {
    kp::Frame query{};
    query[0] = 0x20;
    query[1] = 0xFE;
    EXPECT_EQ(kp::BuildKeypadQuery(), query);

    kp::Frame read{};
    const std::string text = "        RE         ";
    ASSERT_EQ(text.size(), 19u);
    std::copy(text.begin(), text.end(), read.begin());
    EXPECT_EQ(kp::BuildReadRequest(), read);
}

TEST_F(KeypadCodes, KeyNameToCode) {
    struct Case {
        const char* utf8;
        uint8_t code;
    } cases[] = {
        {"F10", 0xEF},     {"F1", 0xF8},       {"F12", 0xED},       {"F1 ", 0x46},
        {"BACK", 0xE9},    {"CLEAR", 0xE9},    {"清除", 0xE9},      {"确认", 0xFE},
        {"ENTER", 0xFE},   {"回车键", 0xFE},   {"ESC", 0xFD},       {"esc", 0x65},
        {"PAGE_UP", 0xE5}, {"PAGE UP", 0x50},  {"PAGE_DOWN", 0xE4}, {"END", 0xE3},
        {"PAUSE", 0xDC},   {"", 0x00},         {"a", 0x61},         {"7", 0x37},
        {".", 0x2E},       {"KEYBOARD", 0x4B}, {"键盘", 0xBC},  // GBK of 键 is BC FC: the lead byte
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNameToCode(tk::Utf8ToGbk(c.utf8)), c.code) << c.utf8;
}

TEST_F(KeypadCodes, EveryShownNameMapsBackToItsCode) {
    for (bool english : {false, true}) {
        g_bEnglish = english;
        for (const KeyNameEntry& e : KEY_NAME_TABLE) {
            const char* shown = english ? e.shown.en : e.shown.zh;
            EXPECT_EQ(KeyNameToCode(tk::Utf8ToGbk(shown)), e.code) << shown;
            EXPECT_EQ(FindKeyName(e.code), &e);
        }
    }
    EXPECT_EQ(FindKeyName(0xFC), nullptr);
    EXPECT_EQ(FindKeyName(0xDB), nullptr);
    EXPECT_EQ(FindKeyName(0xFF), nullptr);
}

TEST_F(KeypadCodes, KeyCodeToName) {
    struct Case {
        uint8_t stored;
        const char* passed;  // GBK bytes
        bool english;
        const char* shown;  // UTF-8 after conversion
    } cases[] = {
        {0xE9, "\xE9", false, "清除"}, {0xE9, "\xE9", true, "CLEAR"},
        {0xE9, "xyz", true, "CLEAR"},  {0xFE, "\xFE", false, "回车键"},
        {0xFE, "\xFE", true, "ENTER"}, {0xF8, "\xF8", true, "F1"},
        {0xEF, "\xEF", false, "F10"},  {0x41, "A", false, "A"},
        {0x00, "", true, ""},
    };
    for (const Case& c : cases) {
        g_bEnglish = c.english;
        g_keyCodesIn[5] = c.stored;
        EXPECT_EQ(tk::GbkToUtf8(KeyCodeToName(c.passed, 5)), c.shown) << int(c.stored);
    }
    // A code outside the table gives back whatever was passed, byte for byte.
    g_keyCodesIn[19] = 0xFC;
    EXPECT_EQ(KeyCodeToName("\xFC", 19), "\xFC");
    EXPECT_EQ(KeyCodeToName("anything", 19), "anything");
    // An index that names no key changes nothing.
    EXPECT_EQ(KeyCodeToName("\xE9", -1), "\xE9");
    EXPECT_EQ(KeyCodeToName("\xE9", KEYPAD_KEY_COUNT), "\xE9");
}

TEST_F(KeypadCodes, QueryAnswerClasses) {
    struct Case {
        uint8_t b1, b2;
        kp::QueryAnswer cls;
    } cases[] = {
        {'K', 0x00, kp::QueryAnswer::KeyCodes},  {'K', 'Y', kp::QueryAnswer::KeyCodes},
        {'M', 0x00, kp::QueryAnswer::NotKeypad}, {0xFE, 'Y', kp::QueryAnswer::SettingsAck},
        {0xFE, 0x00, kp::QueryAnswer::None},     {0xFE, 'R', kp::QueryAnswer::None},
        {0x20, 'Y', kp::QueryAnswer::None},      {0xFF, 0x00, kp::QueryAnswer::None},
    };
    for (const Case& c : cases) {
        kp::Frame f{};
        f[0] = 0x20;
        f[1] = c.b1;
        f[2] = c.b2;
        EXPECT_EQ(kp::ClassifyQueryAnswer(f), c.cls) << int(c.b1) << " " << int(c.b2);
    }
    // The query left in the buffer by a silent device is no answer.
    EXPECT_EQ(kp::ClassifyQueryAnswer(kp::BuildKeypadQuery()), kp::QueryAnswer::None);
}

TEST_F(KeypadCodes, KeyCodeAnswerCarriesExactlyBytes2To21) {
    kp::Frame f{};
    f.fill(0x77);
    f[1] = 'K';
    for (size_t i = 0; i < 20; ++i) f[2 + i] = static_cast<uint8_t>(0xA0 + i);
    const kp::KeyCodes codes = kp::CodesOfAnswer(f);
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(codes[i], 0xA0 + i);
}

TEST_F(KeypadCodes, ReadAnswerValidity) {
    kp::Frame good{};
    good[0] = good[1] = 0x20;
    good[2] = 'R';
    for (size_t i = 3; i <= 16; ++i) good[i] = '1';
    EXPECT_TRUE(kp::IsValidReadAnswer(good));

    kp::Frame zeroAt15 = good;
    zeroAt15[15] = 0;
    EXPECT_FALSE(kp::IsValidReadAnswer(zeroAt15));
    kp::Frame zeroAt16 = good;  // bytes 2..15 set: length 16 is enough
    zeroAt16[16] = 0;
    EXPECT_TRUE(kp::IsValidReadAnswer(zeroAt16));
    kp::Frame noMark = good;
    noMark[2] = 'Y';
    EXPECT_FALSE(kp::IsValidReadAnswer(noMark));
    kp::Frame full{};
    full.fill('1');
    full[2] = 'R';
    EXPECT_TRUE(kp::IsValidReadAnswer(full));
    EXPECT_FALSE(kp::IsValidReadAnswer(kp::BuildReadRequest()));

    const kp::Frame settings = kp::SettingsFrameFromReadAnswer(good);
    EXPECT_EQ(settings[0], 0x20);
    EXPECT_EQ(settings[1], 0x20);
    for (size_t i = 2; i < settings.size(); ++i) EXPECT_EQ(settings[i], good[i]) << i;
}

}  // namespace
