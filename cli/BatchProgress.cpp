#include "cli/BatchProgress.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "cli/Session.h"

namespace cli {

void BatchProgress::Report(const profile::BatchRow& row, uint32_t count,
                           const std::vector<profile::Difference>& diffs) {
    std::ostringstream text;
    text << "[" << row.count << (count ? "/" + std::to_string(count) : "") << "] "
         << (row.path.empty() ? "(unknown device)" : row.path) << ": " << row.result << "\n";
    PrintDifferences(text, diffs, "  ");
    if (m_failure.empty()) {
        errno = 0;
        m_out << text.str();
        m_out.flush();
        if (m_out) return;
        const int error = errno;
        m_failure = "cannot write the standard output" +
                    (error ? std::string(": ") + std::strerror(error) : std::string()) +
                    "; no further reader is started";
    }
    m_err << text.str();
}

}  // namespace cli
