#pragma once
// Reading a whole small file, telling "not there" apart from "there but unreadable": a reader may fall back to
// defaults for the first, while a writer must not replace a file it could not read.

#include <cstddef>
#include <string>

namespace ombrel {

struct FileBytes {
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;
};

// Files above this size are not text files of this program and are treated as unreadable.
inline constexpr std::size_t kMaxTextFileSize = 32u * 1024u * 1024u;

FileBytes ReadFileBytes(const std::string& path, std::size_t maxSize = kMaxTextFileSize);

} // namespace ombrel
