#include "platform/LocalSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ombrel {

std::optional<LocalAddress> LocalAddress::forPath(const std::string& path) {
    LocalAddress address;
    address.m_address.sun_family = AF_UNIX;
    std::string target = path;
    if (target.size() >= sizeof(address.m_address.sun_path)) {
        const std::filesystem::path p(path);
        address.m_folder = UniqueFd(::open(p.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!address.m_folder.valid()) return std::nullopt;
        target = "/proc/self/fd/" + std::to_string(address.m_folder.get()) + "/" + p.filename().string();
        if (target.size() >= sizeof(address.m_address.sun_path)) return std::nullopt;
    }
    std::memcpy(address.m_address.sun_path, target.c_str(), target.size() + 1);
    address.m_size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + target.size() + 1);
    return address;
}

UniqueFd NewLocalSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

std::optional<uid_t> PeerUid(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || length != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool WaitFor(int fd, short events, Deadline deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, events, 0};
        const int result = ::poll(&entry, 1, static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 60'000)));
        if (result < 0 && errno == EINTR) continue;
        if (result > 0) return (entry.revents & (events | POLLHUP | POLLERR)) != 0;
        if (result < 0 || left.count() <= 0) return false;
    }
}

bool ReadExactly(int fd, std::uint8_t* data, std::size_t size, Deadline deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(fd, data + done, size - done, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd, POLLIN, deadline)) return false;
    }
    return true;
}

bool WriteExactly(int fd, const std::uint8_t* data, std::size_t size, Deadline deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, data + done, size - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd, POLLOUT, deadline)) return false;
    }
    return true;
}

} // namespace ombrel
