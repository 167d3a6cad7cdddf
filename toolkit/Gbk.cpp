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
// One converter per direction, opened on first use: opening one costs far
// more than a short conversion.
class Converter {
  public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

  private:
    iconv_t m_cd;
};

std::string Convert(const Converter& converter, const std::string& in,
                    size_t (*skipLen)(unsigned char)) {
    if (!converter.Valid()) return in;
    iconv_t cd = converter.Get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
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
    return out;
}

size_t GbkSequenceLength(unsigned char b) {
    return IsGbkLeadByte(b) ? 2 : 1;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    thread_local const Converter toGbk("GBK", "UTF-8");
    return Convert(toGbk, utf8, Utf8SequenceLength);
}

std::string GbkToUtf8(const std::string& gbk) {
    thread_local const Converter toUtf8("UTF-8", "GBK");
    return Convert(toUtf8, gbk, GbkSequenceLength);
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
