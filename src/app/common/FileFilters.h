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
// The whole keyboard as a readable file, offered beside profile files.
inline QString KeyboardFileFilter() {
    return UserPrompts::fileFilter("BACKUP_FILTER_KEYBOARD");
}

} // namespace ombrel
