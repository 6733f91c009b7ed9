#include "BridgeClient.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ombrel::vm {

namespace {

bool addressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// Up to the first newline (not included) or the end of the stream.
bool readLine(int fd, std::string& line) {
    line.clear();
    char c = 0;
    for (;;) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return !line.empty();
        if (c == '\n') return true;
        line += c;
    }
}

} // namespace

std::string BridgeClient::send(const std::string& command) const {
    sockaddr_un address{};
    if (!addressOf(m_path, address)) return "error: socket path too long";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::string("error: ") + std::strerror(errno);
    std::string answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        answer = std::string("error: cannot reach the bridge: ") + std::strerror(errno);
    } else if (!writeAll(fd, command + "\n") || !readLine(fd, answer)) {
        answer = "error: the bridge gave no answer";
    }
    ::close(fd);
    return answer;
}

int ListenOn(const std::string& path) {
    sockaddr_un address{};
    if (!addressOf(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool ReadCommand(int connection, std::string& line) {
    return readLine(connection, line);
}

void WriteAnswer(int connection, const std::string& answer) {
    writeAll(connection, answer + "\n");
}

} // namespace ombrel::vm
