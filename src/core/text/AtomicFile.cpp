#include "text/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace ombrel {

namespace {

// The process's umask, read without changing it: setting and restoring it (the only other way) would briefly
// give every other thread's new files a umask of 0.
mode_t currentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned value = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &value) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(value);
    }
    return 022; // the usual default, should /proc be unavailable
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file that a write to `path` must replace: the target of a symbolic link, so the link itself survives.
std::string resolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path; // a dangling link: replace the link itself
    std::string target(resolved);
    std::free(resolved);
    return target;
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // best effort: the rename has happened either way
    ::close(fd);
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view contents) {
    if (path.empty()) return false;
    const std::string target = resolveTarget(path);
    const std::string folder = folderOf(target);

    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    const std::string tempPath(name.data());

    // mkstemp creates the file 0600; a replaced file keeps its own bits, a new one gets the usual 0644 less umask.
    mode_t mode = 0;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode = 0644 & ~currentUmask();
    }

    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace ombrel
