#include "cli/BatchLogFile.h"

#include "base/FilePath.h"
#include "cli/Session.h"

namespace cli {

BatchLogFile::BatchLogFile(const std::string& path) : m_path(path) {
    if (path.empty()) return;
    m_out.open(tk::PathFromUtf8(path), std::ios::binary | std::ios::app);
    Check();
    m_out.seekp(0, std::ios::end);
    if (m_out.tellp() == 0) m_out << profile::BatchCsvHeader();
    m_out.flush();
    Check();
}

void BatchLogFile::Add(const profile::BatchRow& row) {
    if (m_path.empty()) return;
    m_out << profile::BatchCsvLine(row);
    m_out.flush();
    Check();
}

void BatchLogFile::Check() {
    if (!m_out) throw Failure{"cannot write the batch log " + m_path};
}

}  // namespace cli
