#pragma once
// A batch's progress lines ("[3/10] /dev/hidraw4: verified"). Standard
// output may stop taking them (its reader closed the pipe, the disk is
// full): the line and those after it then go to standard error, so every
// reader is still reported, and the batch learns why to end.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "profile/BatchLog.h"
#include "profile/Profile.h"

namespace cli {

class BatchProgress {
  public:
    BatchProgress(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
    // Reports the row (its count of count, 0: no count) and the differences
    // found on its reader.
    void Report(const profile::BatchRow& row, uint32_t count,
                const std::vector<profile::Difference>& diffs);
    // Why standard output failed, empty while it takes every line.
    const std::string& Failure() const { return m_failure; }

  private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::string m_failure;
};

}  // namespace cli
