#pragma once
// CPU time of the GBK conversion over the tool's table (base/GbkConvert.h)
// against glibc's iconv called as the tool called it before in its place
// (tests/support/HostIconv.h), on the same text, in turns.

#include <string>
#include <vector>

namespace bench {

struct GbkCost {
    std::string direction;  // "UTF-8 → GBK" or "GBK → UTF-8"
    size_t characters = 0;  // of the text converted
    double table = 0;       // CPU seconds per conversion, the tool's table
    double iconv = 0;       // the same through iconv
};

// Each direction rounds times, perRound conversions per side and round; the
// cost is the median over the rounds. Empty when iconv has no GBK.
std::vector<GbkCost> MeasureGbk(int rounds, int perRound);

}  // namespace bench
