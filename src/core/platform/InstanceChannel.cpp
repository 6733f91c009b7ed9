#include "platform/InstanceChannel.h"

#include "platform/LocalSocket.h"
#include "platform/RuntimeDir.h"

#include <sys/socket.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace ombrel {

namespace {

constexpr int kBacklog = 8;

std::optional<InstanceChannel> fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return std::nullopt;
}

} // namespace

std::optional<InstanceChannel> InstanceChannel::listen(const InstanceLock& lock, std::string* error) {
    return listen(lock, Options{}, error);
}

std::optional<InstanceChannel> InstanceChannel::listen(const InstanceLock& lock, const Options& options,
                                                       std::string* error) {
    if (!lock.owned()) return fail(error, "the instance lock is not held");
    InstanceChannel channel;
    channel.m_options = options;
    channel.m_path = InstanceSocketPath(lock.runtimeDir());
    const auto address = LocalAddress::forPath(channel.m_path);
    if (!address) return fail(error, "no socket address for " + channel.m_path);

    // Whatever is at the path belongs to an instance that no longer holds the lock.
    if (::unlink(channel.m_path.c_str()) != 0 && errno != ENOENT)
        return fail(error, "cannot remove " + channel.m_path + ": " + std::strerror(errno));
    channel.m_socket = NewLocalSocket();
    if (!channel.m_socket.valid()) return fail(error, std::string("cannot create a socket: ") + std::strerror(errno));
    if (::bind(channel.m_socket.get(), address->get(), address->size()) != 0)
        return fail(error, "cannot bind " + channel.m_path + ": " + std::strerror(errno));
    // The folder is private already; the socket itself is made owner-only as well.
    struct stat info {};
    if (::chmod(channel.m_path.c_str(), 0600) != 0 || ::stat(channel.m_path.c_str(), &info) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(channel.m_path.c_str());
        return fail(error, "cannot protect " + channel.m_path + ": " + why);
    }
    channel.m_inode = info.st_ino;
    if (::listen(channel.m_socket.get(), kBacklog) != 0) {
        const std::string why = std::strerror(errno);
        channel.removeSocketFile();
        return fail(error, "cannot listen on " + channel.m_path + ": " + why);
    }
    return channel;
}

InstanceChannel::InstanceChannel(InstanceChannel&& other) noexcept
    : m_socket(std::move(other.m_socket)), m_path(std::move(other.m_path)), m_inode(std::exchange(other.m_inode, 0)),
      m_options(other.m_options), m_handler(std::move(other.m_handler)) {
    other.m_path.clear();
}

InstanceChannel& InstanceChannel::operator=(InstanceChannel&& other) noexcept {
    if (this != &other) {
        removeSocketFile();
        m_socket = std::move(other.m_socket);
        m_path = std::exchange(other.m_path, std::string());
        m_inode = std::exchange(other.m_inode, 0);
        m_options = other.m_options;
        m_handler = std::move(other.m_handler);
    }
    return *this;
}

InstanceChannel::~InstanceChannel() {
    removeSocketFile();
}

void InstanceChannel::removeSocketFile() {
    struct stat info {};
    if (m_inode != 0 && ::lstat(m_path.c_str(), &info) == 0 && info.st_ino == m_inode) ::unlink(m_path.c_str());
    m_inode = 0;
    m_socket.reset();
}

int InstanceChannel::handlePending() {
    int handled = 0;
    for (;;) {
        UniqueFd connection(::accept4(m_socket.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection.valid()) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return handled; // EAGAIN: nothing more waiting; anything else: try again on the next wake-up
        }
        const auto peer = PeerUid(connection.get());
        if (!peer || *peer != m_options.ownerUid) continue; // another user's process: not even answered

        const Deadline deadline = std::chrono::steady_clock::now() + m_options.requestTimeout;
        std::uint8_t bytes[kInstanceMessageSize + 1] = {};
        if (!ReadExactly(connection.get(), bytes, kInstanceMessageSize, deadline)) continue;
        // A longer message is not a request with something after it: it is refused whole.
        const bool longer = ::recv(connection.get(), bytes + kInstanceMessageSize, 1, MSG_DONTWAIT) > 0;
        const auto request = ParseInstanceRequest(bytes, longer ? sizeof bytes : kInstanceMessageSize);
        // A copy, so that a handler which replaces the handler (or re-enters) cannot destroy the running one.
        const Handler handler = m_handler;
        InstanceReply reply = InstanceReply::Refused;
        if (request && handler) {
            const bool asks = m_asking && m_asking(*request);
            handler(*request);
            reply = asks ? InstanceReply::Asking : InstanceReply::Done;
            ++handled;
        }
        const InstanceMessage answer = EncodeInstanceReply(reply);
        WriteExactly(connection.get(), answer.data(), answer.size(),
                     std::chrono::steady_clock::now() + m_options.requestTimeout);
    }
}

} // namespace ombrel
