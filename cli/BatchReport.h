#pragma once
// What a batch says, one reader at a time and at the end, for the one-at-a-
// time batch and the parallel one alike: the opening line, a progress line
// (or with --json a JSON line) per reader, the CSV row, and the summary.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/BatchLogFile.h"
#include "cli/BatchProgress.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "profile/BatchLog.h"
#include "profile/Profile.h"

namespace cli {

// Why a batch waiting for readers ends: the device monitor failed.
inline constexpr Text NO_MORE_DEVICE_EVENTS{
    "no more device events can come (the device monitor failed)",
    "不会再有设备事件（设备监视失败）"};

class BatchReport {
  public:
    // Opens the log; throws Failure when it cannot be written.
    BatchReport(Environment& env, const CommandLine& options);

    // "batch: configuring ..." on standard error, unless -q.
    void Open(bool parallel);
    // One reader finished (row.count set): its line and its log row. failure
    // is why it failed, for the JSON line. Throws Failure when the row cannot
    // be logged; the line has been printed by then.
    void Finished(const profile::BatchRow& row, const std::vector<profile::Difference>& diffs,
                  const std::string& failure);
    // A reader that may not be opened is not configured: said on standard
    // error (as line when given) and counted.
    void Skipped(const std::string& line);
    // The last line: configured, failed, skipped.
    void Summary();
    // "batch: stopped" on standard error, for a batch that a signal ended.
    void Stopped();
    bool AnyFailed() const { return m_failed > 0; }
    // Why standard output no longer takes the lines (the batch then ends),
    // empty while it does.
    const std::string& OutputFailure() const { return m_progress.Failure(); }

  private:
    std::string Say(const Text& text, std::initializer_list<std::string_view> args = {}) const {
        return cli::Say(m_env.language, text, args);
    }

    Environment& m_env;
    uint32_t m_count;
    bool m_json, m_quiet;
    // The lines go to standard output, or to standard error while the log
    // takes standard output.
    BatchProgress m_progress;
    BatchLogFile m_log;
    uint32_t m_configured = 0, m_failed = 0, m_skipped = 0;
};

}  // namespace cli
