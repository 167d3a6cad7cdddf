#pragma once
// Where a batch's lines go ("[3/10] /dev/hidraw4: verified", the summary, or
// with --json one object a line). Standard output may stop taking them (its
// reader closed the pipe, the disk is full): the line and those after it
// then go to standard error, so every reader is still reported, and the
// batch learns why to end.

#include <ostream>
#include <string>

#include "cli/Texts.h"

namespace cli {

class BatchProgress {
  public:
    BatchProgress(std::ostream& out, std::ostream& err, Language language = Language::English)
        : m_out(out), m_err(err), m_language(language) {}
    // Writes text, whole lines, to standard output while it takes them.
    void Write(const std::string& text);
    // Why standard output failed, empty while it takes every line.
    const std::string& Failure() const { return m_failure; }

  private:
    std::ostream& m_out;
    std::ostream& m_err;
    Language m_language;
    std::string m_failure;
};

}  // namespace cli
