#include "platform/InstanceLock.h"

#include "platform/RuntimeDir.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

namespace ombrel {

InstanceLock InstanceLock::acquire(const std::string& runtimeDir) {
    InstanceLock lock;
    lock.m_runtimeDir = runtimeDir;
    const std::string path = InstanceLockPath(runtimeDir);
    // Close-on-exec matters: a started program (the daemon) must not inherit the lock and outlive us with it.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) {
        lock.m_error = "cannot open " + path + ": " + std::strerror(errno);
        return lock;
    }
    int result;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        lock.m_state = State::Owned;
        lock.m_fd = std::move(fd);
    } else if (errno == EWOULDBLOCK) {
        lock.m_state = State::HeldElsewhere;
    } else {
        lock.m_error = "cannot lock " + path + ": " + std::strerror(errno);
    }
    return lock;
}

void InstanceLock::release() {
    m_fd.reset();
    m_state = State::Unavailable;
}

} // namespace ombrel
