#pragma once
// glibc's iconv between UTF-8 and GBK, called the way the tool called it
// before it had its own table (one converter per direction, a fresh state per
// text, under a lock): the reference the table is checked against and
// measured by. Linux only.

#include <iconv.h>

#include <mutex>
#include <string>
#include <vector>

namespace support {

class HostIconv {
  public:
    HostIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~HostIconv() {
        if (Valid()) iconv_close(m_cd);
    }
    HostIconv(const HostIconv&) = delete;
    HostIconv& operator=(const HostIconv&) = delete;
    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the longest prefix of in that converts cleanly, appends it to
    // out and returns the number of bytes of in it used.
    size_t ConvertPrefix(const std::string& in, std::string& out) {
        std::lock_guard lock(m_mutex);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> buf(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), dst);
        return in.size() - srcLeft;
    }

  private:
    iconv_t m_cd;
    std::mutex m_mutex;
};

}  // namespace support
