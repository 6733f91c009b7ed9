#include "platform/RuntimeDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace ombrel {

namespace {

constexpr mode_t kPrivateFolderMode = 0700;

bool isPrivateFolder(const std::string& path, uid_t uid) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == uid &&
           (info.st_mode & 077) == 0;
}

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

} // namespace

RuntimeEnvironment RuntimeEnvironment::current() {
    RuntimeEnvironment env;
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR")) env.xdgRuntimeDir = dir;
    env.uid = ::getuid();
    return env;
}

std::optional<std::string> InstanceRuntimeDir(const RuntimeEnvironment& env, std::string* error) {
    if (!env.xdgRuntimeDir.empty() && env.xdgRuntimeDir.front() == '/' && isPrivateFolder(env.xdgRuntimeDir, env.uid))
        return env.xdgRuntimeDir;

    const std::string fallback = env.tmpBase + "/ombrel-" + std::to_string(env.uid);
    if (::mkdir(fallback.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
        setError(error, "cannot create " + fallback + ": " + std::strerror(errno));
        return std::nullopt;
    }
    struct stat info {};
    if (::lstat(fallback.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != env.uid) {
        setError(error, fallback + " is not a folder of this user");
        return std::nullopt;
    }
    // Our own folder with too wide permissions (made by hand, or by an older umask) is tightened, not refused.
    if ((info.st_mode & 077) != 0 && ::chmod(fallback.c_str(), kPrivateFolderMode) != 0) {
        setError(error, "cannot make " + fallback + " private: " + std::strerror(errno));
        return std::nullopt;
    }
    return fallback;
}

std::string InstanceLockPath(const std::string& runtimeDir) {
    return runtimeDir + "/" + kInstanceName + ".lock";
}
std::string InstanceSocketPath(const std::string& runtimeDir) {
    return runtimeDir + "/" + kInstanceName + ".socket";
}

} // namespace ombrel
