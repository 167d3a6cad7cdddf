#include "cli/BatchProgress.h"

#include <cerrno>
#include <cstring>

namespace cli {

void BatchProgress::Write(const std::string& text) {
    if (m_failure.empty()) {
        errno = 0;
        m_out << text;
        m_out.flush();
        if (m_out) return;
        const int error = errno;
        m_failure =
            error
                ? Say(m_language,
                      {"cannot write the standard output: {}; no further reader is started",
                       "无法写入标准输出：{}；不再开始配置新的读卡器"},
                      {std::strerror(error)})
                : Say(m_language, {"cannot write the standard output; no further reader is started",
                                   "无法写入标准输出；不再开始配置新的读卡器"});
    }
    m_err << text;
}

}  // namespace cli
