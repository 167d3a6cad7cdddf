#include "profile/BatchLog.h"

#include <cstdio>
#include <string_view>

#include "base/Printable.h"

namespace profile {
namespace {

// A cell as a spreadsheet shows it and never runs it: control characters as
// marks, and a text that would start a formula behind an apostrophe.
std::string CsvField(const std::string& text) {
    std::string s = tk::Printable(text);
    if (!s.empty() && std::string_view("=+-@").find(s[0]) != std::string_view::npos) s = "'" + s;
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string BatchCsvHeader() {
    return "time,count,result,device,serial\r\n";
}

std::string BatchCsvLine(const BatchRow& row) {
    char time[32];
    std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", row.time.year, row.time.month,
                  row.time.day, row.time.hour, row.time.minute, row.time.second);
    return std::string(time) + "," + std::to_string(row.count) + "," + CsvField(row.result) + "," +
           CsvField(row.path) + "," + CsvField(row.serial) + "\r\n";
}

BatchLog::BatchLog() : m_spool(std::tmpfile()) {}

BatchLog::~BatchLog() {
    if (m_spool) std::fclose(m_spool);
}

void BatchLog::Add(const BatchRow& row) {
    const std::string line = BatchCsvLine(row);
    if (m_spool) {
        if (std::fseek(m_spool, 0, SEEK_END) != 0 ||
            std::fwrite(line.data(), 1, line.size(), m_spool) != line.size())
            m_spoolFailed = true;
    } else {
        m_inMemory += line;
    }
    m_last = row;
    ++m_size;
}

bool BatchLog::Csv(std::string* out) const {
    *out = BatchCsvHeader();
    if (!m_spool) {
        *out += m_inMemory;
        return true;
    }
    if (m_spoolFailed || std::fflush(m_spool) != 0 || std::fseek(m_spool, 0, SEEK_SET) != 0)
        return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, m_spool)) > 0) out->append(buffer, n);
    return !std::ferror(m_spool);
}

}  // namespace profile
