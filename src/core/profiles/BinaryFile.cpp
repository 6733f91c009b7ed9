#include "profiles/BinaryFile.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrel {

std::unique_ptr<InputFile> InputFile::open(const std::string& path, FileStatus* status) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
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

FileWriteResult WriteBinaryFile(const std::string& path, std::span<const std::uint8_t> bytes, ExistingFile existing) {
    // A view of the same bytes as characters, which is what the shared writer takes.
    return WriteFileSafely(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), existing);
}

} // namespace ombrel
