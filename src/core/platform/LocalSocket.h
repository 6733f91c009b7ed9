#pragma once
// Small helpers for the Unix-domain stream sockets between instances: addresses for paths of any length, the
// peer's user id, and reads and writes bounded by a deadline so that no peer can hold the other side forever.

#include "platform/UniqueFd.h"

#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ombrel {

using Deadline = std::chrono::steady_clock::time_point;

// A socket address for `path`. A path too long for sockaddr_un is reached through its folder, held open for as
// long as the address is used (/proc/self/fd/N/<name>), so deep runtime folders work too.
class LocalAddress {
public:
    static std::optional<LocalAddress> forPath(const std::string& path);

    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    socklen_t size() const { return m_size; }

private:
    sockaddr_un m_address{};
    socklen_t m_size = 0;
    UniqueFd m_folder;
};

// A new Unix stream socket, close-on-exec and non-blocking.
UniqueFd NewLocalSocket();

// The user id of the process at the other end of a connected socket.
std::optional<uid_t> PeerUid(int fd);

// Reads exactly `size` bytes before `deadline`; false on end of stream, error or time-out.
bool ReadExactly(int fd, std::uint8_t* data, std::size_t size, Deadline deadline);

// Writes all `size` bytes before `deadline`, never raising SIGPIPE; false on error or time-out.
bool WriteExactly(int fd, const std::uint8_t* data, std::size_t size, Deadline deadline);

// Waits until `fd` is readable (or `events` are ready); false on time-out or error.
bool WaitFor(int fd, short events, Deadline deadline);

} // namespace ombrel
