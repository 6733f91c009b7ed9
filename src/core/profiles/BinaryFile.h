#pragma once
// Binary files: opened for reading pieces at given offsets, read whole with a size limit, and replaced so that a
// reader, or a crash, sees either the old contents or the new ones.

#include "platform/SafeFileWriter.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ombrel {

// NotRegular: a folder, pipe, device or socket, refused before anything is read from it.
enum class FileStatus { Ok, Missing, CannotOpen, NotRegular, TooLarge, NoMemory, ReadFailed };

// The sentence for a status that is not Ok: "the file does not exist" and so on; `error` is the errno of a failed
// open, for CannotOpen.
std::string DescribeFileStatus(FileStatus status, int error);

class InputFile {
public:
    // The file at `path`, or null with the reason in `status` (Missing or CannotOpen).
    static std::unique_ptr<InputFile> open(const std::string& path, FileStatus* status);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::uint64_t size() const { return m_size; }
    // Fills `out` from `offset`; false when the file ends first or the read fails.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

private:
    InputFile(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    int m_fd;
    std::uint64_t m_size;
};

struct BinaryFileRead {
    FileStatus status = FileStatus::Missing;
    std::uint64_t size = 0; // the file's size, also when it was too large to read
    std::vector<std::uint8_t> bytes;
    int error = 0; // errno of a failed open
};

// Reads at most `maxSize` bytes; a larger file is TooLarge and is not read.
BinaryFileRead ReadBinaryFile(const std::string& path, std::uint64_t maxSize);

bool FileExists(const std::string& path);

// Writes `bytes` to `path` through the safe writer (see platform/SafeFileWriter.h).
FileWriteResult WriteBinaryFile(const std::string& path, std::span<const std::uint8_t> bytes,
                                ExistingFile existing = ExistingFile::Replace);

} // namespace ombrel
