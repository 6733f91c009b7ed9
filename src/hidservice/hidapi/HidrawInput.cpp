#include "HidrawInput.h"

#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace ombrel::hid {

std::unique_ptr<HidInput> HidrawInput::open(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::unique_ptr<HidInput>(new HidrawInput(fd, wakeFd));
}

HidrawInput::~HidrawInput() {
    ::close(m_fd);
    ::close(m_wakeFd);
}

int HidrawInput::read(std::span<std::uint8_t> buffer) {
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    for (;;) {
        fds[0].revents = 0;
        fds[1].revents = 0;
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (fds[1].revents != 0) {
            std::uint64_t count = 0;
            while (::read(m_wakeFd, &count, sizeof count) < 0 && errno == EINTR) {
            }
            return 0;
        }
        // A node that went away reports a hang-up or an error rather than data.
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return -1;
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got >= 0) return static_cast<int>(got);
        if (errno == EINTR || errno == EAGAIN) continue;
        return -1;
    }
}

void HidrawInput::wake() {
    const std::uint64_t one = 1;
    while (::write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

} // namespace ombrel::hid
