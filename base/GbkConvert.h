#pragma once
// The conversion between UTF-8 and GBK over the tool's own table
// (base/GbkTable.h), one clean stretch at a time. Gbk.cpp decides what
// becomes of the bytes that do not convert.

#include <cstddef>
#include <string>

namespace tk::gbk {

enum class Direction { Utf8ToGbk, GbkToUtf8 };

// Converts the longest prefix of in[0..length) that converts cleanly and
// appends the result to out. Returns the number of input bytes used: it stops
// before the first sequence that is invalid in the source encoding, cut off at
// the end, or that the target cannot hold.
size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out);

}  // namespace tk::gbk
