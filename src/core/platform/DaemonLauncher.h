#pragma once
// Starts the background daemon if one is installed next to the program. None is shipped, so a missing daemon is
// the normal case and not an error. The daemon is started without arguments, in its own session (a terminal's
// Ctrl+C for the program does not reach it), and is never waited on, stopped or signalled by the program.

#include <sys/types.h>

#include <string>

namespace ombrel {

enum class DaemonStatus {
    Started,
    NotPresent, // no executable file at the path
    Failed,     // present, but the system would not start it
};

struct DaemonLaunch {
    DaemonStatus status = DaemonStatus::NotPresent;
    pid_t pid = 0; // of the started daemon
};

// Starts `daemonPath` detached. A background thread collects its exit status, so a daemon that ends early does
// not stay behind as a zombie; nobody waits for it otherwise.
DaemonLaunch LaunchDaemon(const std::string& daemonPath);

} // namespace ombrel
