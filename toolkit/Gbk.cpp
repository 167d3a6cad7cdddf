#include "toolkit/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tk {
namespace {

// Length of the UTF-8 sequence that starts with b (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4) return 4;
    if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
    if (b >= 0xC2) return 2;
    return 1;
}

// Converts in with iconv from one encoding to another; at a sequence the
// target cannot hold, or that is invalid in the source, writes "?" and skips
// skipLen(byte) bytes of input.
std::string Convert(const char* to, const char* from, const std::string& in,
                    size_t (*skipLen)(unsigned char)) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;
    std::string out;
    std::vector<char> buf(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), dst);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: one unconvertible or broken character.
        out.push_back('?');
        size_t skip = skipLen(static_cast<unsigned char>(*src));
        if (skip > srcLeft) skip = srcLeft;
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

size_t GbkSequenceLength(unsigned char b) { return IsGbkLeadByte(b) ? 2 : 1; }

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert("GBK", "UTF-8", utf8, Utf8SequenceLength);
}

std::string GbkToUtf8(const std::string& gbk) {
    return Convert("UTF-8", "GBK", gbk, GbkSequenceLength);
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
