#include <windows.h>

#include "base/FileLock.h"
#include "base/FilePath.h"

namespace tk {

FileLock::~FileLock() {
    if (m_handle) CloseHandle(m_handle);  // closing releases the lock
}

std::string FileLock::Lock(const std::string& path, bool wait) {
    const std::wstring name = PathFromUtf8(path).wstring() + L".lock";
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "cannot lock " + path + " (error " + std::to_string(GetLastError()) + ")";
    OVERLAPPED at{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(h, flags, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        if (error == ERROR_LOCK_VIOLATION) return path + " is in use by another run of the tool";
        return "cannot lock " + path + " (error " + std::to_string(error) + ")";
    }
    m_handle = h;
    return {};
}

}  // namespace tk
