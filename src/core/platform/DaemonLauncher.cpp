#include "platform/DaemonLauncher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace ombrel {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Signals this program may ignore, which would otherwise stay ignored in the daemon across exec.
constexpr int kResetSignals[] = {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM};

} // namespace

DaemonLaunch LaunchDaemon(const std::string& daemonPath) {
    if (!isExecutableFile(daemonPath)) return {DaemonStatus::NotPresent, 0};

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return {DaemonStatus::Failed, 0};
    sigset_t noSignals;
    sigset_t defaults;
    sigemptyset(&noSignals);
    sigemptyset(&defaults);
    for (int signal : kResetSignals)
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string argument0 = daemonPath;
    char* argv[] = {argument0.data(), nullptr};
    pid_t pid = 0;
    const int result = posix_spawn(&pid, daemonPath.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) return {DaemonStatus::Failed, 0};

    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {DaemonStatus::Started, pid};
}

} // namespace ombrel
