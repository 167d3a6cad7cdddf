#include "profile/ProfileFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace profile {
namespace {

// Names are UTF-8 on Windows (the file dialog's), bytes elsewhere.
std::filesystem::path FileName(const std::string& name) {
#ifdef _WIN32
    return std::filesystem::u8path(name);
#else
    return std::filesystem::path(name);
#endif
}

}  // namespace

ParseResult ReadProfileFile(const std::string& path) {
    ParseResult result;
    std::ifstream in(FileName(path), std::ios::binary);
    if (!in) {
        result.error = "cannot read " + path + ": " + std::strerror(errno);
        return result;
    }
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > MAX_PROFILE_FILE_BYTES) {
            result.error = "profile: the file is larger than 1 MiB; this is no profile";
            return result;
        }
    }
    if (in.bad()) {
        result.error = "cannot read " + path;
        return result;
    }
    return ParseProfile(text);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(FileName(path), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

}  // namespace profile
