#include "profiles/BinaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel {

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    bool close() { return ::close(release()) == 0; }

private:
    int m_fd;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path, FileStatus* status) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        *status = errno == ENOENT ? FileStatus::Missing : FileStatus::CannotOpen;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        *status = FileStatus::CannotOpen;
        return nullptr;
    }
    *status = FileStatus::Ok;
    return std::unique_ptr<InputFile>(new InputFile(fd.release(), static_cast<std::uint64_t>(st.st_size)));
}

InputFile::~InputFile() {
    ::close(m_fd);
}

bool InputFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

BinaryFileRead ReadBinaryFile(const std::string& path, std::uint64_t maxSize) {
    BinaryFileRead result;
    const auto file = InputFile::open(path, &result.status);
    if (!file) return result;
    result.size = file->size();
    if (result.size > maxSize) {
        result.status = FileStatus::TooLarge;
        return result;
    }
    try {
        result.bytes.resize(static_cast<std::size_t>(result.size));
    } catch (const std::bad_alloc&) {
        result.status = FileStatus::NoMemory;
        return result;
    }
    if (!file->readAt(0, result.bytes)) {
        result.status = FileStatus::ReadFailed;
        result.bytes.clear();
    }
    return result;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool ReplaceBinaryFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temp = path + ".XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    const bool written = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself must reach the disk too, or a crash could bring the old file back.
    Fd folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return true;
}

} // namespace ombrel
