#pragma once
// Whole-file writes that never leave a half-written file behind: the bytes go to a temporary file in the same
// folder, which then replaces the target in one rename.

#include <optional>
#include <string>
#include <string_view>

namespace ombrel {

// Replaces (or creates) `path` with `content`. An existing file keeps its permission bits. Returns false when
// anything fails; the old file is then untouched.
bool WriteFileAtomically(const std::string& path, std::string_view content);

// The whole content of `path`, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

enum class CopyResult {
    Copied,
    SourceMissing, // the source does not exist: the target was written empty, as copying nothing gives
    Failed,        // the source could not be read or the target could not be written
};

// Copies `from` to `to` byte for byte, replacing `to` atomically.
CopyResult CopyFileReplacing(const std::string& from, const std::string& to);

} // namespace ombrel
