#include "platform/SafeFileWriter.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

FileWriteResult failure(const std::string& path, int error, const std::string& reason = {}) {
    return {error, "cannot write " + path + ": " + (reason.empty() ? std::strerror(error) : reason)};
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

// The file a write to `path` must replace: the target of a symbolic link, so the link itself survives. Empty, with
// `result` set, when the path cannot be written at all.
std::string resolveTarget(const std::string& path, ExistingFile existing, FileWriteResult& result) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    if (existing == ExistingFile::Keep) {
        result = failure(path, EEXIST);
        return {};
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        const int error = errno;
        result = failure(path, error, error == ENOENT ? "it is a link to a file that does not exist" : "");
        return {};
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Whether an existing file at `target` may be replaced; fills `result` when not.
bool mayReplace(const std::string& path, const std::string& target, const struct stat& old, ExistingFile existing,
                FileWriteResult& result) {
    if (existing == ExistingFile::Keep) {
        result = failure(path, EEXIST);
        return false;
    }
    if (S_ISDIR(old.st_mode)) {
        result = failure(path, EISDIR);
        return false;
    }
    if (!S_ISREG(old.st_mode)) {
        result = failure(path, EINVAL, "it is not a regular file (a device, pipe or socket) and is left alone");
        return false;
    }
    // A read-only file stays read-only for its user, as for an ordinary copy; root passes, as with cp.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        result = failure(path, errno);
        return false;
    }
    return true;
}

} // namespace

FileWriteResult WriteFileSafely(const std::string& path, std::string_view contents, ExistingFile existing) {
    if (path.empty()) return {EINVAL, "cannot write a file without a name"};
    FileWriteResult result;
    const std::string target = resolveTarget(path, existing, result);
    if (target.empty()) return result;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return failure(path, errno);
    if (exists && !mayReplace(path, target, old, existing, result)) return result;

    const std::string folder = folderOf(target);
    std::string pattern = folder + "/." + nameOf(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return failure(path, errno);
    const std::string tempPath(name.data());

    // mkstemp creates the file 0600; a replaced file keeps its own bits, a new one gets what open() would give it.
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0) error = errno;
    // Root replacing another user's file leaves it that user's (best effort: the contents are what matters).
    if (error == 0 && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) {
        if (existing == ExistingFile::Keep) {
            // link() never replaces: a file that appeared meanwhile is kept.
            if (::link(tempPath.c_str(), target.c_str()) != 0) error = errno;
        } else if (::rename(tempPath.c_str(), target.c_str()) != 0) {
            error = errno;
        }
    }
    if (error != 0 || existing == ExistingFile::Keep) ::unlink(tempPath.c_str());
    if (error != 0) return failure(path, error);
    syncFolder(folder);
    return {};
}

void RemoveStaleTemporaryFiles(const std::string& path) {
    if (path.empty()) return;
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const std::string folder = folderOf(target);
    const std::string prefix = "." + nameOf(target) + ".";
    constexpr std::size_t kSuffix = 6; // mkstemp's XXXXXX
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kSuffix || name.compare(0, prefix.size(), prefix) != 0) continue;
        bool mkstempName = true;
        for (std::size_t i = prefix.size(); i < name.size(); ++i)
            mkstempName = mkstempName && (std::isalnum(static_cast<unsigned char>(name[i])) != 0);
        struct stat info {};
        if (!mkstempName || ::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::closedir(dir);
}

} // namespace ombrel
