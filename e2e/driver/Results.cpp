#include "e2e/driver/Results.h"

namespace e2e {

std::string FormatResult(std::string_view scenario, std::string_view op, bool ok, double ms,
                         std::string_view detail) {
    const std::string name = std::string(scenario) + "/" + std::string(op);
    char line[512];
    std::snprintf(line, sizeof line, "RESULT %-4s %-44s %8.1f ms  %.*s", ok ? "ok" : "FAIL",
                  name.c_str(), ms, static_cast<int>(detail.size()), detail.data());
    return line;
}

bool Results::Record(std::string_view scenario, std::string_view op, bool ok, double ms,
                     std::string_view detail) {
    ++(ok ? m_passed : m_failed);
    std::fprintf(m_out, "%s\n", FormatResult(scenario, op, ok, ms, detail).c_str());
    std::fflush(m_out);
    return ok;
}

void Results::Info(std::string_view scenario, std::string_view text) {
    std::fprintf(m_out, "INFO   %.*s: %.*s\n", static_cast<int>(scenario.size()), scenario.data(),
                 static_cast<int>(text.size()), text.data());
    std::fflush(m_out);
}

std::string Results::Summary() const {
    return "vm-driver: " + std::to_string(m_passed + m_failed) + " operations, " +
           std::to_string(m_passed) + " ok, " + std::to_string(m_failed) + " failed";
}

}  // namespace e2e
