#pragma once
// Counts nested programmatic changes for the lifetime of a scope: while the
// count is above zero a toolkit's own change and focus notifications are not
// passed on, because the surface notifies the dialog itself, exactly once.

namespace tk {

class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& m_depth;
};

}  // namespace tk
