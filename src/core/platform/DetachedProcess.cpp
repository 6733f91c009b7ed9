#include "platform/DetachedProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace ombrel {

namespace {

// Signals this program may ignore, which would otherwise stay ignored in the started program across exec.
constexpr int kResetSignals[] = {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM};

void setWhy(std::string* why, int error) {
    if (why) *why = std::strerror(error);
}

} // namespace

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string FindProgramOnPath(const std::string& name, const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string folder = searchPath.substr(start, end - start);
        // An empty entry means the current folder, which a program must never search implicitly.
        if (!folder.empty()) {
            const std::string candidate = folder + "/" + name;
            if (IsExecutableFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return {};
}

pid_t StartDetached(const std::vector<std::string>& argv, const std::string& workingDir, std::string* why) {
    if (argv.empty()) {
        setWhy(why, EINVAL);
        return 0;
    }
    posix_spawnattr_t attributes;
    if (const int r = posix_spawnattr_init(&attributes); r != 0) {
        setWhy(why, r);
        return 0;
    }
    sigset_t noSignals;
    sigset_t defaults;
    sigemptyset(&noSignals);
    sigemptyset(&defaults);
    for (int signal : kResetSignals)
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());

    std::vector<std::string> arguments = argv;
    std::vector<char*> pointers;
    for (std::string& a : arguments)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    const int result = posix_spawn(&pid, arguments[0].c_str(), &actions, &attributes, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        setWhy(why, result);
        return 0;
    }
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return pid;
}

} // namespace ombrel
