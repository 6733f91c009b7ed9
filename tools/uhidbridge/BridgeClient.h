#pragma once
// The test side of the uhid bridge's control socket: one command line out, one answer line back, one connection
// per command, so an answer can never reach the wrong asker.

#include <string>

namespace ombrel::vm {

class BridgeClient {
public:
    explicit BridgeClient(std::string socketPath) : m_path(std::move(socketPath)) {}

    // The bridge's answer, or "error: ..." when the bridge cannot be reached.
    std::string send(const std::string& command) const;

private:
    std::string m_path;
};

// A listening Unix stream socket at `path` (an old one there is replaced); -1 with errno set on failure.
int ListenOn(const std::string& path);
// Reads one command line from a connection accepted on the listening socket; false when none came.
bool ReadCommand(int connection, std::string& line);
void WriteAnswer(int connection, const std::string& answer);

} // namespace ombrel::vm
