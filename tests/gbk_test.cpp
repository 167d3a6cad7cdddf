#include "toolkit/Gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, RoundTripsAndReplacesWhatGbkCannotHold) {
    struct Case {
        std::string utf8, gbk, back;
    } cases[] = {
        {"abc", "abc", "abc"},
        {"清除", "\xC7\xE5\xB3\xFD", "清除"},
        {"确认", "\xC8\xB7\xC8\xCF", "确认"},
        {"a😀b", "a?b", "a?b"},     // outside GBK
        {"x\xFFy", "x?y", "x?y"},  // broken UTF-8
        {"\xE6\xB8", "?", "?"},    // truncated UTF-8 sequence
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tk::Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(tk::GbkToUtf8(c.gbk), c.back) << c.utf8;
    }
    EXPECT_EQ(tk::GbkToUtf8("\x81"), "?");  // lone lead byte
}

TEST(Gbk, PrefixNeverSplitsACharacter) {
    const std::string five = tk::Utf8ToGbk("一二三四五");  // 10 bytes
    EXPECT_EQ(tk::GbkPrefixLength(five, 9), 8u);
    EXPECT_EQ(tk::GbkPrefixLength("abcdefghij", 9), 9u);
    EXPECT_EQ(tk::GbkPrefixLength(tk::Utf8ToGbk("a一"), 2), 1u);
}

}  // namespace
