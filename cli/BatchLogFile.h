#pragma once
// The CSV file a batch appends its rows to, written row by row so that an
// interrupted batch keeps its record.

#include <fstream>
#include <string>

#include "profile/BatchLog.h"

namespace cli {

class BatchLogFile {
  public:
    // An empty path keeps no file. Throws Failure when the file cannot be
    // written; a new file starts with the header line.
    explicit BatchLogFile(const std::string& path);
    // Throws Failure when the row cannot be written.
    void Add(const profile::BatchRow& row);

  private:
    void Check();
    std::ofstream m_out;
    std::string m_path;
};

}  // namespace cli
