#pragma once
// Earlier versions kept the per-user data in $XDG_DATA_HOME/Varn88-3_6027 and the settings in
// $XDG_CONFIG_HOME/Varn88-3_6027 and $XDG_CONFIG_HOME/Ombrel_Pellix. Those folders are moved to the places named
// after the program once: only while the new place does not exist yet, so a later start never mixes the two.
// An old folder whose new place already exists is left alone for the user to look at.

#include "platform/AppPaths.h"

#include <string>
#include <vector>

namespace ombrel {

inline constexpr const char* kLegacyUserFolderName = "Varn88-3_6027";
inline constexpr const char* kLegacyAppProfileFolderName = "Ombrel_Pellix";

// Earlier versions named the store "$Profile0". It is renamed once, while the new name is free; returns a note of
// what was done or what failed, empty when there was nothing to do.
inline constexpr const char* kLegacyStoreFileName = "$Profile0";
std::string MoveLegacyStoreFile(const std::string& userDir);

// Moves what is there to move for `paths` (built by BuildAppPaths) and returns one line per folder moved or per
// move that failed (with the system's reason and the command that does it by hand); none when nothing was to move.
std::vector<std::string> MoveLegacyUserFolders(const AppPaths& paths);

} // namespace ombrel
