#pragma once
// The file filters the restore, backup, profile manager and firmware dialogs share, so every file dialog offers
// profile files under the same name and extension.

#include "UserPrompts.h"

namespace ombrel {

// The profile file filter and extension of the restore and backup dialogs.
inline QString ProfileFileFilter() {
    return UserPrompts::fileFilter("FILTER_PROFILES");
}
inline constexpr const char* kProfileFileSuffix = "obp";
// Back up and Restore: profile files or the whole keyboard as a readable file, and all files once.
inline QString BackupFileFilters() {
    return UserPrompts::fileFilters({"FILTER_PROFILES", "BACKUP_FILTER_KEYBOARD"});
}

} // namespace ombrel
