#pragma once
// The platform's conversion between UTF-8 and GBK (code page 936), one clean
// stretch at a time: iconv on Linux, the Windows code page functions on
// Windows. Gbk.cpp decides what becomes of the bytes that do not convert.

#include <cstddef>
#include <string>

namespace tk::gbk {

enum class Direction { Utf8ToGbk, GbkToUtf8 };

// Whether the platform has a converter in both directions.
bool Available();

// Converts the longest prefix of in[0..length) that converts cleanly and
// appends the result to out. Returns the number of input bytes used: it stops
// before the first sequence that is invalid in the source encoding, cut off at
// the end, or that the target cannot hold. Without a converter on the platform
// it copies the input unchanged and returns length.
size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out);

}  // namespace tk::gbk
