#include "bench/GbkBench.h"

#include <vector>

#include "base/Gbk.h"
#include "base/GbkConvert.h"
#include "bench/Stats.h"
#include "tests/support/HostIconv.h"

namespace bench {
namespace {

// Texts a reader holds: Chinese with ASCII in between.
const std::string TEXT_UTF8 =
    "确认读卡器设置：身份证号码 ID 110101199003074514，磁条卡第二磁道 track 2，"
    "起始符 ; 结束符 ?，回车 Enter。清除、保存配置文件、载入配置文件、批量模式。";

std::string ViaIconv(support::HostIconv& iconv, const std::string& in) {
    std::string out;
    iconv.ConvertPrefix(in, out);
    return out;
}

std::string ViaTable(tk::gbk::Direction direction, const std::string& in) {
    std::string out;
    tk::gbk::ConvertPrefix(direction, in.data(), in.size(), out);
    return out;
}

// CPU seconds per call of convert over perRound calls; sink keeps the
// results alive so that no call is optimised away.
template <typename Convert>
double CpuPerCall(int perRound, size_t& sink, Convert convert) {
    const double start = CpuSeconds();
    for (int i = 0; i < perRound; ++i) sink += convert().size();
    return (CpuSeconds() - start) / perRound;
}

}  // namespace

std::vector<GbkCost> MeasureGbk(int rounds, int perRound) {
    support::HostIconv toGbk("GBK", "UTF-8"), toUtf8("UTF-8", "GBK");
    if (!toGbk.Valid() || !toUtf8.Valid()) return {};
    const std::string textGbk = tk::Utf8ToGbk(TEXT_UTF8);
    if (ViaIconv(toGbk, TEXT_UTF8) != textGbk || ViaIconv(toUtf8, textGbk) != TEXT_UTF8) return {};
    size_t characters = 0;
    for (unsigned char c : TEXT_UTF8) characters += (c & 0xC0) != 0x80;

    std::vector<GbkCost> costs = {{"UTF-8 → GBK", characters}, {"GBK → UTF-8", characters}};
    std::vector<double> table[2], viaIconv[2];
    size_t sink = 0;
    for (int r = 0; r < rounds; ++r) {
        table[0].push_back(CpuPerCall(
            perRound, sink, [&] { return ViaTable(tk::gbk::Direction::Utf8ToGbk, TEXT_UTF8); }));
        viaIconv[0].push_back(
            CpuPerCall(perRound, sink, [&] { return ViaIconv(toGbk, TEXT_UTF8); }));
        table[1].push_back(CpuPerCall(
            perRound, sink, [&] { return ViaTable(tk::gbk::Direction::GbkToUtf8, textGbk); }));
        viaIconv[1].push_back(
            CpuPerCall(perRound, sink, [&] { return ViaIconv(toUtf8, textGbk); }));
    }
    for (int d = 0; d < 2; ++d) {
        costs[d].table = Median(table[d]);
        costs[d].iconv = Median(viaIconv[d]);
    }
    if (sink == 0) return {};
    return costs;
}

}  // namespace bench
