#pragma once
// A claim on a device node held as an exclusive flock on it: the kernel shares it among every program that opens
// the same node and drops it when the program ends, so a crashed program never leaves the keyboard claimed.

#include <memory>
#include <string>

#include "NodeClaim.h"

namespace ombrel::hid {

class NodeLock final : public NodeClaim {
public:
    ~NodeLock() override;
    NodeLock(const NodeLock&) = delete;
    NodeLock& operator=(const NodeLock&) = delete;

    // The lock, or null with `error` set: EBUSY when another program holds it, else why the node cannot be opened.
    static std::unique_ptr<NodeLock> take(const std::string& path, int& error);

private:
    explicit NodeLock(int fd) : m_fd(fd) {}
    int m_fd;
};

} // namespace ombrel::hid
