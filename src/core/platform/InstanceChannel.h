#pragma once
// The running instance's end of the messages between instances: a Unix stream socket <runtime dir>/QT42M17B.socket
// reachable by this user only. The channel owns no thread. The application watches `fd()` in its event loop (a
// QSocketNotifier) and calls `handlePending()` when it is readable, so the handler runs on the UI thread, where
// showing or closing the main window belongs. That avoids a listener thread that would have to block on the UI
// thread: such a thread deadlocks when the UI thread, shutting down, waits for it. A handler that opens a message
// box runs a nested event loop; a request arriving meanwhile is handled inside it, as nested message dispatch
// would, and `handlePending()` is safe to re-enter.
//
// Each connection carries one request; the answer is sent after the handler has returned, so the sender waits
// for the handling to finish.

#include "platform/InstanceLock.h"
#include "platform/InstanceMessage.h"
#include "platform/UniqueFd.h"

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace ombrel {

class InstanceChannel {
public:
    using Handler = std::function<void(InstanceRequest)>;

    struct Options {
        uid_t ownerUid = ::getuid();                   // peers of any other user are refused
        std::chrono::milliseconds requestTimeout{500}; // how long a connected peer may take to send its request
    };

    // Listens for later starts. Only the owner of the instance lock may listen: holding the lock is what makes it
    // safe to remove a socket file left behind by an instance that died.
    static std::optional<InstanceChannel> listen(const InstanceLock& lock, std::string* error = nullptr);
    static std::optional<InstanceChannel> listen(const InstanceLock& lock, const Options& options,
                                                 std::string* error = nullptr);

    InstanceChannel(InstanceChannel&& other) noexcept;
    InstanceChannel& operator=(InstanceChannel&& other) noexcept;
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;
    ~InstanceChannel(); // closes the socket and removes its file

    // Installed once the main window exists; until then requests are answered Refused.
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // Asked before the handler runs: whether the request will leave a question open in the window (an end with
    // unapplied edits), so the later start can say so instead of nothing.
    void setAsking(std::function<bool(InstanceRequest)> asking) { m_asking = std::move(asking); }

    // Readable when a later start has connected.
    int fd() const { return m_socket.get(); }
    const std::string& path() const { return m_path; }

    // Accepts every waiting connection and handles its one request. Returns how many requests reached the handler.
    int handlePending();

private:
    InstanceChannel() = default;
    void removeSocketFile();

    UniqueFd m_socket;
    std::string m_path;
    ino_t m_inode = 0; // of the socket file we made, so that we never remove another's
    Options m_options;
    Handler m_handler;
    std::function<bool(InstanceRequest)> m_asking;
};

} // namespace ombrel
