#include "base/Gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, ConvertsAndReplacesWhatGbkCannotHold) {
    struct Case {
        std::string utf8, gbk, back;
    } cases[] = {
        {"abc", "abc", "abc"},
        {"清除", "\xC7\xE5\xB3\xFD", "清除"},
        {"确认", "\xC8\xB7\xC8\xCF", "确认"},
        {"a😀b", "a?b", "a?b"},     // outside GBK
        {"x\xFFy", "x?y", "x?y"},  // broken UTF-8
        {"\xE6\xB8", "?", "?"},    // truncated UTF-8 sequence
        {"«41»", "?41?", "?41?"},  // not a byte mark: 0x41 is a character
        {"«8", "?8", "?8"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tk::Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(tk::GbkToUtf8(c.gbk), c.back) << c.utf8;
    }
}

TEST(Gbk, EveryByteSequenceSurvivesTheWayToAWidgetAndBack) {
    struct Case {
        std::string gbk, shown;
    } cases[] = {
        {"\x81", "«81»"},                    // lone lead byte
        {"\xFF", "«FF»"},                    // never a character
        {"\xD6", "«D6»"},                    // first byte of 中
        {"\xB0\xA1\xB0", "啊«B0»"},          // a character, then half of one
        {"\xFF\xFE", "«FF»«FE»"},            // no character at all
        {std::string("a\0b", 3), "a«00»b"},  // 0x00 inside a long text
        {"\x80", "€"},                       // a character of GBK
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tk::GbkToUtf8(c.gbk), c.shown);
        EXPECT_EQ(tk::Utf8ToGbk(c.shown), c.gbk) << c.shown;
    }
    // Every single byte and every pair of bytes.
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        EXPECT_EQ(tk::Utf8ToGbk(tk::GbkToUtf8(one)), one) << a;
        for (int b = 0; b < 256; b += 7) {
            const std::string two = one + static_cast<char>(b);
            EXPECT_EQ(tk::Utf8ToGbk(tk::GbkToUtf8(two)), two) << a << " " << b;
        }
    }
}

// Where Windows' code page 936 and glibc's GBK differ (the user-defined areas
// that code page 936 gives private-use characters), and characters they
// share: the tool holds every platform to glibc's table.
TEST(Gbk, OneTableOnEveryPlatform) {
    struct Shown {
        std::string gbk, shown;
    } shown[] = {
        {"\xAA\xA1", "«AA»«A1»"},          // U+E000 in code page 936
        {"\xA1\x40", "«A1»@"},             // U+E4C6 there
        {"\xFE\x50", "«FE»P"},             // U+E815 there
        {"\xF8\xFE\xA1", "«F8»«FE»«A1»"},  // U+E291 there, then a lone lead byte
        {"\xA2\xE3", "«A2»«E3»"},          // U+E76C there
        {"\x80", "€"},                     // the euro sign in both tables
        {"\xFF", "«FF»"},                  // in neither
        {"\xD6\xD0", "中"},
        {"\xC8\xB7\xC8\xCF", "确认"},
        {"\xA1\xA4\xA1\xAA", "·—"},       // U+00B7, U+2014
        {"\xA8\x80\xFE\x4F", "█\uFA29"},  // the last pair GBK assigns
    };
    for (const Shown& c : shown) {
        EXPECT_EQ(tk::GbkToUtf8(c.gbk), c.shown) << c.shown;
        std::string gbk;
        EXPECT_EQ(tk::Utf8ToGbkExact(c.shown, gbk), tk::GbkResult::Ok) << c.shown;
        EXPECT_EQ(gbk, c.gbk) << c.shown;
    }
    // Characters that code page 936 would send as a user-defined pair.
    for (const std::string refused : {"\uE000", "\uE4C6", "\uE815"}) {
        std::string gbk, offending;
        EXPECT_EQ(tk::Utf8ToGbkExact("a" + refused, gbk, &offending), tk::GbkResult::NotGbk);
        EXPECT_EQ(offending, refused);
        EXPECT_EQ(tk::Utf8ToGbk(refused), "?");
    }
}

TEST(Gbk, ExactConversionNamesTheCharacterThatCannotTravel) {
    struct Case {
        std::string utf8;
        tk::GbkResult result;
        std::string offending;
    } cases[] = {
        {"ab中", tk::GbkResult::Ok, ""},
        {"«81»", tk::GbkResult::Ok, ""},
        {"a😀b", tk::GbkResult::NotGbk, "😀"},
        {"x«y", tk::GbkResult::NotGbk, "«"},
    };
    for (const Case& c : cases) {
        std::string gbk, offending;
        EXPECT_EQ(tk::Utf8ToGbkExact(c.utf8, gbk, &offending), c.result) << c.utf8;
        EXPECT_EQ(offending, c.offending) << c.utf8;
    }
}

TEST(Gbk, WithoutTheSystemsConversionOnlyAsciiAndMarksConvert) {
    tk::SimulateGbkUnavailable(true);
    std::string gbk;
    EXPECT_FALSE(tk::GbkAvailable());
    EXPECT_EQ(tk::Utf8ToGbkExact("中", gbk), tk::GbkResult::Unavailable);
    EXPECT_EQ(tk::Utf8ToGbkExact("%«81»", gbk), tk::GbkResult::Ok);
    EXPECT_EQ(gbk, "%\x81");
    EXPECT_EQ(tk::Utf8ToGbk(tk::GbkToUtf8("\xD6\xD0")), "\xD6\xD0");  // shown as marks
    tk::SimulateGbkUnavailable(false);
    EXPECT_TRUE(tk::GbkAvailable());
}

TEST(Gbk, PrefixNeverSplitsACharacter) {
    const std::string five = tk::Utf8ToGbk("一二三四五");  // 10 bytes
    EXPECT_EQ(tk::GbkPrefixLength(five, 9), 8u);
    EXPECT_EQ(tk::GbkPrefixLength("abcdefghij", 9), 9u);
    EXPECT_EQ(tk::GbkPrefixLength(tk::Utf8ToGbk("a一"), 2), 1u);
}

}  // namespace
