#include "cli/BatchLogFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/FilePath.h"
#include "cli/Session.h"

namespace cli {

BatchLogFile::BatchLogFile(const std::string& path, std::ostream& standardOutput, Language language)
    : m_path(path), m_language(language) {
    if (path.empty()) return;
    if (path == "-") {
        m_out = &standardOutput;
        Write(profile::BatchCsvHeader());
        return;
    }
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
    errno = 0;
    m_file.open(file, std::ios::binary | std::ios::app);
    if (!m_file) Fail(errno);
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
    if (!*m_out) Fail(0);
    errno = 0;
    m_out->write(text.data(), static_cast<std::streamsize>(text.size()));
    m_out->flush();
    if (!*m_out) {
        const int error = errno;
        if (m_out == &m_file) {
            // What part of it reached the file is taken back.
            m_file.close();
            std::error_code ec;
            std::filesystem::resize_file(tk::PathFromUtf8(m_path), m_size, ec);
        }
        Fail(error);
    }
    m_size += text.size();
}

void BatchLogFile::Fail(int error) {
    const std::string name =
        m_path == "-" ? Say(m_language, {"standard output", "标准输出"}) : m_path;
    if (error)
        throw Failure{Say(m_language,
                          {"cannot write the batch log {}: {}", "无法写入批量记录 {}：{}"},
                          {name, std::strerror(error)})};
    throw Failure{
        Say(m_language, {"cannot write the batch log {}", "无法写入批量记录 {}"}, {name})};
}

}  // namespace cli
