#pragma once
// An advisory lock that keeps two runs of the tool from working on one file
// at once (the simulated devices' state: read at the start of a command,
// written at its end). The lock is held on a file of its own beside the one
// it guards (NAME.lock), since the guarded file is replaced by a rename and
// a lock on it would stay with the old one. Released when destroyed or when
// the process ends, however it ends.

#include <string>

namespace tk {

class FileLock {
  public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Locks the file that guards path; waits for another holder when wait,
    // else fails at once. Empty on success, else why not.
    std::string Lock(const std::string& path, bool wait);

  private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

}  // namespace tk
