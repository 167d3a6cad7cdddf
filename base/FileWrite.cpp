#include "base/FileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tk {
namespace {

std::string Reason(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

// Writes all of text to fd; errno tells why not.
bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string WriteFileWhole(const std::string& path, const std::string& text) {
    std::string temporary = path + ".XXXXXX";
    // mkstemp creates the file with O_EXCL: an existing name, a link too, fails.
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return Reason(path, errno);
    // The permissions a new file gets (mkstemp gives 0600).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.c_str());
        return Reason(path, written ? errno : error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        return Reason(path, renameError);
    }
    return {};
}

}  // namespace tk
