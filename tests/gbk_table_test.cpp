// The committed GBK table (base/GbkTableData.cpp) against the host's iconv,
// which it was generated to equal: every byte, every pair of bytes and every
// code point, in both directions. When glibc's GBK changes, this fails; run
// scripts/generate-gbk-table.sh again. (Linux only: iconv is glibc's.)

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "base/GbkConvert.h"
#include "support/HostIconv.h"

namespace {

using tk::gbk::Direction;

// How much of a text a conversion used, and what it gave.
struct Prefix {
    size_t used = 0;
    std::string out;
    bool operator==(const Prefix&) const = default;
};

Prefix Table(Direction direction, const std::string& in) {
    Prefix p;
    p.used = tk::gbk::ConvertPrefix(direction, in.data(), in.size(), p.out);
    return p;
}

Prefix Host(support::HostIconv& iconv, const std::string& in) {
    Prefix p;
    p.used = iconv.ConvertPrefix(in, p.out);
    return p;
}

std::string Utf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    } else if (cp < 0x10000) {
        s += {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
              static_cast<char>(0x80 | (cp & 0x3F))};
    } else {
        s += {static_cast<char>(0xF0 | cp >> 18), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
              static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
    return s;
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char h[4];
    for (unsigned char b : bytes) {
        std::snprintf(h, sizeof h, "%02X ", b);
        out += h;
    }
    return out;
}

void PrintTo(const Prefix& p, std::ostream* os) {
    *os << p.used << " bytes used, giving " << Hex(p.out);
}

TEST(GbkTable, DecodesEveryByteAndPairAsTheHostsIconv) {
    support::HostIconv iconv("UTF-8", "GBK");
    ASSERT_TRUE(iconv.Valid());
    int differences = 0;
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        EXPECT_EQ(Table(Direction::GbkToUtf8, one), Host(iconv, one)) << Hex(one);
        for (int b = 0; b < 256 && differences < 10; ++b) {
            const std::string two = one + static_cast<char>(b);
            const Prefix table = Table(Direction::GbkToUtf8, two), host = Host(iconv, two);
            EXPECT_EQ(table, host) << Hex(two);
            differences += table != host;
        }
    }
}

TEST(GbkTable, EncodesEveryCodePointAsTheHostsIconv) {
    support::HostIconv iconv("GBK", "UTF-8");
    ASSERT_TRUE(iconv.Valid());
    int differences = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF && differences < 10; ++cp) {
        if (cp == 0xD800) cp = 0xE000;    // surrogates are no UTF-8
        if (cp == 0xE0000) cp = 0xE0080;  // tags: see RefusesTagCharacters
        const std::string utf8 = Utf8(cp);
        const Prefix table = Table(Direction::Utf8ToGbk, utf8), host = Host(iconv, utf8);
        EXPECT_EQ(table, host) << "U+" << std::hex << static_cast<unsigned>(cp);
        differences += table != host;
    }
}

// glibc's converter drops the Unicode tag characters without a word; the
// tool refuses them like any other character GBK has not.
TEST(GbkTable, RefusesTagCharacters) {
    for (const char32_t cp : {0xE0000, 0xE0041, 0xE007F}) {
        std::string out;
        EXPECT_EQ(tk::gbk::ConvertPrefix(Direction::Utf8ToGbk, Utf8(cp).data(), 4, out), 0u);
    }
}

}  // namespace
