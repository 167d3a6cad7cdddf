#include "toolkit/Gbk.h"

#include <algorithm>

#include "toolkit/GbkConvert.h"

namespace tk {
namespace {

// Length of the UTF-8 sequence that starts with b (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4) return 4;
    if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
    if (b >= 0xC2) return 2;
    return 1;
}

// Converts in through the platform's converter; at a sequence the target
// cannot hold, or that is invalid in the source, writes "?" and skips
// skipLen(byte) bytes of input.
std::string Convert(gbk::Direction direction, const std::string& in,
                    size_t (*skipLen)(unsigned char)) {
    std::string out;
    out.reserve(in.size() * 2);
    size_t pos = 0;
    while (pos < in.size()) {
        pos += gbk::ConvertPrefix(direction, in.data() + pos, in.size() - pos, out);
        if (pos >= in.size()) break;
        // One unconvertible or broken character.
        out.push_back('?');
        pos += std::min(skipLen(static_cast<unsigned char>(in[pos])), in.size() - pos);
    }
    return out;
}

size_t GbkSequenceLength(unsigned char b) {
    return IsGbkLeadByte(b) ? 2 : 1;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert(gbk::Direction::Utf8ToGbk, utf8, Utf8SequenceLength);
}

std::string GbkToUtf8(const std::string& gbk) {
    return Convert(gbk::Direction::GbkToUtf8, gbk, GbkSequenceLength);
}

size_t GbkPrefixLength(const std::string& gbk, size_t maxBytes) {
    size_t i = 0;
    while (i < gbk.size()) {
        const size_t len = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) ? 2 : 1;
        if (i + len > maxBytes || i + len > gbk.size()) break;
        i += len;
    }
    return i;
}

}  // namespace tk
