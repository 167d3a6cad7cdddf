// File names through UTF-16, the form the Windows file functions take.

#include <windows.h>

#include "base/FilePath.h"

namespace tk {

std::filesystem::path PathFromUtf8(const std::string& name) {
    if (name.empty()) return {};
    const int size = static_cast<int>(name.size());
    UINT codePage = CP_UTF8;
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
    if (n <= 0) {
        codePage = CP_ACP;
        n = MultiByteToWideChar(codePage, 0, name.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, name.data(), size, wide.data(), n);
    return std::filesystem::path(wide);
}

}  // namespace tk
