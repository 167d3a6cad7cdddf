#pragma once
// The driver's output: one line per operation, printed the moment it ends,
// and a closing count. Informational measurements are printed apart and not
// counted.

#include <cstdio>
#include <string>
#include <string_view>

namespace e2e {

// "RESULT ok   scenario/operation      12.3 ms  detail"
std::string FormatResult(std::string_view scenario, std::string_view op, bool ok, double ms,
                         std::string_view detail);

class Results {
  public:
    explicit Results(std::FILE* out = stdout) : m_out(out) {}
    // Records and prints one operation; returns ok.
    bool Record(std::string_view scenario, std::string_view op, bool ok, double ms,
                std::string_view detail = {});
    // Prints a measurement that is neither a pass nor a failure.
    void Info(std::string_view scenario, std::string_view text);
    int Passed() const { return m_passed; }
    int Failed() const { return m_failed; }
    // "vm-driver: N operations, N ok, N failed"
    std::string Summary() const;

  private:
    std::FILE* m_out;
    int m_passed = 0;
    int m_failed = 0;
};

}  // namespace e2e
