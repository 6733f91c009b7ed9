#pragma once
// Copying a template file (the user colour template) over a user file: byte for byte, the target replaced
// atomically so that an interrupted copy never leaves half a file.

#include <string>

namespace ombrel {

enum class CopyResult {
    Copied,
    SourceMissing, // the source does not exist: the target was written empty, as copying nothing gives
    Failed,        // the source could not be read or the target could not be written; the target is as it was
};

// On failure `why`, when given, holds the reason (the system's, as "cannot write PATH: No space left on device").
CopyResult CopyFileReplacing(const std::string& from, const std::string& to, std::string* why = nullptr);

} // namespace ombrel
