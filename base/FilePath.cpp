// File names are bytes here (toolkit/win32/FilePathWide.cpp on Windows).

#include "base/FilePath.h"

namespace tk {

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(name);
}

}  // namespace tk
