// The GBK conversion primitive over iconv.

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <vector>

#include "base/GbkConvert.h"

namespace tk::gbk {
namespace {

// One converter per direction for the process, opened on first use (opening
// one costs far more than a short conversion) and used under a lock: a
// converter carries state from call to call.
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

const Converter& ConverterFor(Direction direction) {
    static const Converter toGbk("GBK", "UTF-8");
    static const Converter toUtf8("UTF-8", "GBK");
    return direction == Direction::Utf8ToGbk ? toGbk : toUtf8;
}

std::mutex g_conversion;

}  // namespace

bool Available() {
    return ConverterFor(Direction::Utf8ToGbk).Valid() && ConverterFor(Direction::GbkToUtf8).Valid();
}

size_t ConvertPrefix(Direction direction, const char* in, size_t length, std::string& out) {
    const Converter& converter = ConverterFor(direction);
    if (!converter.Valid()) {
        out.append(in, length);
        return length;
    }
    std::lock_guard lock(g_conversion);
    iconv_t cd = converter.Get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
    std::vector<char> buf(length * 4 + 16);
    char* src = const_cast<char*>(in);
    size_t srcLeft = length;
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), dst);
        if (r != static_cast<size_t>(-1) || errno != E2BIG) break;
    }
    return length - srcLeft;
}

}  // namespace tk::gbk
