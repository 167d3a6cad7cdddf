#pragma once
// The tool's GBK table, glibc's GBK (base/GbkTableData.cpp, written by
// scripts/generate-gbk-table.sh). One table on every platform: Windows' code
// page 936 gives its user-defined areas private-use characters, and a text
// would show and travel differently there than on Linux.

#include <cstddef>
#include <cstdint>

namespace tk::gbk {

inline constexpr unsigned FIRST_LEAD = 0x81, LAST_LEAD = 0xFE;
inline constexpr unsigned FIRST_TRAIL = 0x40, LAST_TRAIL = 0xFE;
inline constexpr size_t LEADS = LAST_LEAD - FIRST_LEAD + 1;
inline constexpr size_t TRAILS = LAST_TRAIL - FIRST_TRAIL + 1;
inline constexpr size_t SINGLE_BYTES = 0x80;  // 0x80 .. 0xFF

// The character (a BMP code point) of each byte from 0x80 up on its own, and
// of each pair at (lead - FIRST_LEAD) * TRAILS + trail - FIRST_TRAIL; 0 where
// GBK has none. Bytes below 0x80 are ASCII.
extern const uint16_t SINGLE_BYTE_TABLE[SINGLE_BYTES];
extern const uint16_t PAIR_TABLE[LEADS * TRAILS];

// The reverse index, for encoding a BMP code point cp from 0x80 up: its GBK
// code (one byte from 0x80 up, or lead * 256 + trail) is
// ENCODE_BLOCKS[ENCODE_BLOCK_OF_PAGE[cp >> 8]][cp & 0xFF], 0 where GBK has
// none; a page of code points without any has NO_BLOCK.
inline constexpr size_t CODE_POINT_PAGES = 256, CODE_POINTS_PER_PAGE = 256;
inline constexpr uint16_t NO_BLOCK = 0xFFFF;
extern const uint16_t ENCODE_BLOCK_OF_PAGE[CODE_POINT_PAGES];
extern const uint16_t ENCODE_BLOCKS[][CODE_POINTS_PER_PAGE];

}  // namespace tk::gbk
