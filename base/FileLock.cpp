#include "base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tk {

FileLock::~FileLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

std::string FileLock::Lock(const std::string& path, bool wait) {
    const std::string name = path + ".lock";
    m_fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (m_fd < 0) return "cannot lock " + path + ": " + std::strerror(errno);
    int r;
    do r = ::flock(m_fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (r != 0 && errno == EINTR);
    if (r == 0) return {};
    const int error = errno;
    ::close(m_fd);
    m_fd = -1;
    if (error == EWOULDBLOCK) return path + " is in use by another run of the tool";
    return "cannot lock " + path + ": " + std::strerror(error);
}

}  // namespace tk
