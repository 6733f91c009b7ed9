#include "NodeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace ombrel::hid {

NodeLock::~NodeLock() {
    ::close(m_fd);
}

std::unique_ptr<NodeLock> NodeLock::take(const std::string& path, int& error) {
    // Read access is what a program talking to the keyboard has anyway; the handle itself reads nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::unique_ptr<NodeLock>(new NodeLock(fd));
}

} // namespace ombrel::hid
