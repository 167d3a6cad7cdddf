#include "cli/BatchReport.h"

#include <cstdio>
#include <sstream>

#include "cli/Json.h"
#include "cli/Session.h"

namespace cli {
namespace {

std::string TimeText(const tk::LocalDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

Text ResultText(const std::string& result) {
    if (result == "verified") return {"verified", "校验通过"};
    if (result == "differs") return {"differs", "设置不同"};
    return {"failed", "失败"};
}

}  // namespace

BatchReport::BatchReport(Environment& env, const CommandLine& o)
    : m_env(env),
      m_count(o.count),
      m_json(o.json),
      m_quiet(o.quiet),
      m_progress(o.logFile == "-" ? env.err : env.out, env.err, env.language),
      m_log(o.logFile, env.out, env.language) {}

void BatchReport::Open(bool parallel) {
    if (m_quiet) return;
    const std::string n = std::to_string(m_count);
    m_env.err << PROGRAM << ": ";
    if (parallel)
        m_env.err << (m_count ? Say({"batch: configuring every reader attached and plugged in, all "
                                     "at once ({})",
                                     "批量设置：同时配置所有已连接和插入的读卡器（{} 台）"},
                                    {n})
                              : Say({"batch: configuring every reader attached and plugged in, all "
                                     "at once until stopped",
                                     "批量设置：同时配置所有已连接和插入的读卡器，直到停止"}));
    else
        m_env.err << (m_count ? Say({"batch: configuring every reader plugged in ({})",
                                     "批量设置：配置每台插入的读卡器（{} 台）"},
                                    {n})
                              : Say({"batch: configuring every reader plugged in until stopped",
                                     "批量设置：配置每台插入的读卡器，直到停止"}));
    m_env.err << "\n";
}

void BatchReport::Finished(const profile::BatchRow& row,
                           const std::vector<profile::Difference>& diffs,
                           const std::string& failure) {
    if (row.result == "verified")
        ++m_configured;
    else
        ++m_failed;
    if (m_json) {
        JsonDocument line = JsonHead("batch");
        line["event"] = "reader";
        line["count"] = row.count;
        line["of"] = m_count ? JsonDocument(m_count) : JsonDocument(nullptr);
        line["time"] = TimeText(row.time);
        line["device"] = row.path;
        line["serial"] = row.serial;
        line["result"] = row.result;
        line["differences"] = JsonDifferences(diffs);
        line["error"] = failure.empty() ? JsonDocument(nullptr) : JsonDocument(failure);
        m_progress.Write(JsonText(line, true));
    } else if (!(m_quiet && row.result == "verified")) {
        const std::string device =
            row.path.empty() ? Say({"(unknown device)", "（未知设备）"}) : row.path;
        std::ostringstream text;
        text << "[" << row.count << (m_count ? "/" + std::to_string(m_count) : "") << "] "
             << Say({"{}: {}", "{}：{}"}, {device, Say(ResultText(row.result))}) << "\n";
        PrintDifferences(text, diffs, "  ", m_env.language);
        m_progress.Write(text.str());
    }
    m_log.Add(row);
}

void BatchReport::Skipped(const std::string& line) {
    ++m_skipped;
    m_env.err << PROGRAM << ": " << line << "\n";
}

void BatchReport::Summary() {
    if (m_json) {
        JsonDocument line = JsonHead("batch");
        line["event"] = "summary";
        line["configured"] = m_configured;
        line["failed"] = m_failed;
        line["skipped"] = m_skipped;
        m_progress.Write(JsonText(line, true));
    } else {
        m_progress.Write(Say({"summary: {} configured, {} failed, {} skipped",
                              "汇总：成功 {} 台，失败 {} 台，跳过 {} 台"},
                             {std::to_string(m_configured), std::to_string(m_failed),
                              std::to_string(m_skipped)}) +
                         "\n");
    }
}

void BatchReport::Stopped() {
    m_env.err << PROGRAM << ": " << Say({"batch: stopped", "批量设置：已停止"}) << "\n";
}

}  // namespace cli
