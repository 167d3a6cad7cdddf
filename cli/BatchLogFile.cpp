#include "cli/BatchLogFile.h"

#include <filesystem>

#include "base/FilePath.h"
#include "cli/Session.h"

namespace cli {

BatchLogFile::BatchLogFile(const std::string& path) : m_path(path) {
    if (path.empty()) return;
    const std::filesystem::path file = tk::PathFromUtf8(path);
    std::error_code ec;
    m_size = std::filesystem::is_regular_file(file, ec) ? std::filesystem::file_size(file, ec) : 0;
    if (ec) m_size = 0;
    bool lineOpen = false;
    if (m_size > 0) {
        std::ifstream in(file, std::ios::binary);
        in.seekg(-1, std::ios::end);
        char last = '\n';
        lineOpen = in.get(last) && last != '\n';
    }
    m_out.open(file, std::ios::binary | std::ios::app);
    if (!m_out) Fail();
    // Rows appended to a line left open would join it.
    if (m_size == 0)
        Write(profile::BatchCsvHeader());
    else if (lineOpen)
        Write("\r\n");
}

void BatchLogFile::Add(const profile::BatchRow& row) {
    if (m_path.empty()) return;
    Write(profile::BatchCsvLine(row));
}

void BatchLogFile::Write(const std::string& text) {
    if (!m_out) Fail();
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
    m_out.flush();
    if (!m_out) {
        // What part of it reached the file is taken back.
        m_out.close();
        std::error_code ec;
        std::filesystem::resize_file(tk::PathFromUtf8(m_path), m_size, ec);
        Fail();
    }
    m_size += text.size();
}

void BatchLogFile::Fail() {
    throw Failure{"cannot write the batch log " + m_path};
}

}  // namespace cli
