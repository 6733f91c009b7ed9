#pragma once
// The per-user data folder ($XDG_DATA_HOME/ombrel): created and seeded with the three user colour files
// the first time it is found missing; an existing folder is left exactly as it is, even when files are missing
// from it, because the user (or the program) may have removed them on purpose.

#include "platform/AppPaths.h"

#include <string>

namespace ombrel {

enum class PerUserFolderStatus {
    Present, // the folder was already there; nothing was touched
    Created, // the folder was created and seeded
    Failed,  // the folder is not there and could not be created (see `error`)
};

struct PerUserFolderResult {
    PerUserFolderStatus status = PerUserFolderStatus::Failed;
    bool templateFound = true; // false when seeding found no template: the colour files were created empty
    std::string error;         // what failed, for a log line; empty on success
};

inline constexpr int kSeededColorFiles = 3;
inline constexpr int kColorTemplateNumber = 3;

// Creates the per-user folder and seeds it when it is missing: UserDengColor_0..2.userd are copies of the
// template Skins/UserDengColor_3.userd (empty files when the template is missing). The folder appears complete
// or not at all: it is filled under a temporary name and renamed into place, so an interrupted first start
// does not leave a folder that will never be seeded.
PerUserFolderResult EnsurePerUserFolder(const AppPaths& paths);

// The start-up variant: the same as EnsurePerUserFolder. All per-user paths are already part of `paths`.
PerUserFolderResult PreparePerUserFolder(const AppPaths& paths);

} // namespace ombrel
