#pragma once
// The CSV file a batch appends its rows to, written row by row so that an
// interrupted batch keeps its record. A row is written whole or not at all:
// one cut short (a full disk) is taken back, so the file stays a list of
// whole rows that a later batch can append to. "-" writes the rows to
// standard output instead.

#include <cstdint>
#include <fstream>
#include <ostream>
#include <string>

#include "cli/Texts.h"
#include "profile/BatchLog.h"

namespace cli {

class BatchLogFile {
  public:
    // An empty path keeps no file; "-" writes to standardOutput. Throws
    // Failure (in language) when the file cannot be written; a new file
    // starts with the header line, and a file whose last line lacks its line
    // end gets one before the first row.
    BatchLogFile(const std::string& path, std::ostream& standardOutput,
                 Language language = Language::English);
    // Throws Failure when the row cannot be written; no part of it is kept.
    void Add(const profile::BatchRow& row);

  private:
    void Write(const std::string& text);
    [[noreturn]] void Fail(int error);
    std::ofstream m_file;
    std::ostream* m_out = &m_file;
    std::string m_path;
    Language m_language;
    uintmax_t m_size = 0;  // bytes of whole rows in the file
};

}  // namespace cli
