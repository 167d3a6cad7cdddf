#include "profile/ProfileFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/FilePath.h"
#include "base/FileWrite.h"

namespace profile {

ParseResult ReadProfileFile(const std::string& path) {
    ParseResult result;
    std::ifstream in(tk::PathFromUtf8(path), std::ios::binary);
    if (!in) {
        const std::string reason = std::strerror(errno);
        result.error = "cannot read " + path + ": " + reason;
        result.errorZh = "无法读取 " + path + "：" + reason;
        return result;
    }
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > MAX_PROFILE_FILE_BYTES) {
            result.error = "profile: the file is larger than 1 MiB; this is no profile";
            result.errorZh = "profile: 文件大于 1 MiB，不是配置文件";
            return result;
        }
    }
    if (in.bad()) {
        result.error = "cannot read " + path;
        result.errorZh = "无法读取 " + path;
        return result;
    }
    return ParseProfile(text);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    return tk::WriteFileWhole(path, text).empty();
}

}  // namespace profile
