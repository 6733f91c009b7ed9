#pragma once
// Replacing a file so that a reader, or a crash, sees either the old contents or the new ones, never a mix:
// the new contents go to a temporary file in the same folder, are flushed to the disk and renamed over the old
// file. The old file's permission bits are kept; a symbolic link is followed and its target replaced.

#include <string>
#include <string_view>

namespace ombrel {

// Returns false, leaving the old file untouched and no temporary file behind, when any step fails.
bool ReplaceFileAtomically(const std::string& path, std::string_view contents);

} // namespace ombrel
