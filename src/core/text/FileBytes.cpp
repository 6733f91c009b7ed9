#include "text/FileBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel {

namespace {

// Closes the descriptor on every path out of ReadFileBytes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

FileBytes ReadFileBytes(const std::string& path, std::size_t maxSize) {
    FileBytes result;
    // Non-blocking, so that a FIFO at the path can not hang the reader; regular files ignore the flag.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        result.status =
            (errno == ENOENT || errno == ENOTDIR) ? FileBytes::Status::Missing : FileBytes::Status::Unreadable;
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = FileBytes::Status::Unreadable;
        return result;
    }
    // The size is only a hint (the file may grow while it is read); the limit is enforced on what is read.
    if (info.st_size > 0 && static_cast<std::size_t>(info.st_size) <= maxSize)
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            result.status = FileBytes::Status::Unreadable;
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxSize) {
            result.status = FileBytes::Status::Unreadable;
            result.bytes.clear();
            return result;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    result.status = FileBytes::Status::Ok;
    return result;
}

} // namespace ombrel
