#include "platform/AtomicFile.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace ombrel {

namespace {

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    UniqueFd fd(mkostemp(name.data(), O_CLOEXEC));
    if (!fd.valid()) return false;
    const std::string tempPath(name.data());

    struct stat existing {};
    bool ok = true;
    if (::stat(path.c_str(), &existing) == 0) ok = ::fchmod(fd.get(), existing.st_mode & 07777) == 0;
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    const int closeResult = ::close(fd.release()); // closed by hand, so that a failing close is seen
    ok = ok && closeResult == 0 && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tempPath.c_str());
    return ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return std::nullopt;
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return content;
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

CopyResult CopyFileReplacing(const std::string& from, const std::string& to) {
    struct stat source {};
    const bool missing = ::stat(from.c_str(), &source) != 0 && errno == ENOENT;
    std::optional<std::string> content = missing ? std::nullopt : ReadWholeFile(from);
    if (!content && !missing) return CopyResult::Failed;
    if (!WriteFileAtomically(to, content ? *content : std::string())) return CopyResult::Failed;
    return missing ? CopyResult::SourceMissing : CopyResult::Copied;
}

} // namespace ombrel
