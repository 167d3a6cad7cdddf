#pragma once
// The record of a batch run: one row per device that batch mode tried to
// configure, saved as CSV so that a day's work can be proved.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Clock.h"

namespace profile {

struct BatchRow {
    tk::LocalDateTime time;
    uint32_t count = 0;  // devices configured in this batch run so far
    std::string result;  // "configured", "verified", "differs", "failed"
    std::string path;    // the device's node, empty when it could not be told
    std::string serial;  // empty when the device reports none
};

// The header line of the CSV, with its line end.
std::string BatchCsvHeader();
// One row as a CSV line (RFC 4180 quoting, "\r\n" at the end); the time as
// "YYYY-MM-DD HH:MM:SS".
std::string BatchCsvLine(const BatchRow& row);

// The rows of the batch runs since start-up. They go to an anonymous
// temporary file as CSV lines, so a batch that runs for days keeps its whole
// record at a constant memory cost; only the last row stays in memory.
class BatchLog {
  public:
    BatchLog();
    ~BatchLog();
    BatchLog(const BatchLog&) = delete;
    BatchLog& operator=(const BatchLog&) = delete;

    void Add(const BatchRow& row);
    size_t Size() const { return m_size; }
    // The last row added; only while Size() > 0.
    const BatchRow& Last() const { return m_last; }
    // Header and every row, as CSV; false when the record cannot be read back.
    bool Csv(std::string* out) const;

  private:
    std::FILE* m_spool = nullptr;  // nullptr when no temporary file could be made
    std::string m_inMemory;        // the rows then
    bool m_spoolFailed = false;
    size_t m_size = 0;
    BatchRow m_last;
};

}  // namespace profile
