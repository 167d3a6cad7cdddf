#include <windows.h>

#include <algorithm>
#include <string>

#include "base/FilePath.h"
#include "base/FileWrite.h"

namespace tk {
namespace {

std::string Reason(const std::string& path, DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = "error " + std::to_string(error);
    if (text) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (n > 1) {
            reason.assign(static_cast<size_t>(n - 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, text, -1, reason.data(), n, nullptr, nullptr);
            while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                                       reason.back() == ' ' || reason.back() == '.'))
                reason.pop_back();
        }
        LocalFree(text);
    }
    return "cannot write " + path + ": " + reason;
}

}  // namespace

std::string WriteFileWhole(const std::string& path, const std::string& text) {
    const std::wstring target = PathFromUtf8(path).wstring();
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    // CREATE_NEW fails on any existing name, a link too.
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount64() + attempt) + L".tmp";
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) return Reason(path, GetLastError());
    size_t done = 0;
    DWORD error = 0;
    while (done < text.size() && error == 0) {
        DWORD n = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(file, text.data() + done, chunk, &n, nullptr) || n == 0)
            error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        done += n;
    }
    if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
    CloseHandle(file);
    if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        return Reason(path, error);
    }
    return {};
}

}  // namespace tk
