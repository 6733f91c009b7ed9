#pragma once
// The whole keyboard as a readable file from the window's Back up and Restore: key functions, macros, lighting and
// key colours, in the names ombrelctl takes (see ombrel-keyboard(5)). Runs on the device worker.

#include "device/DeviceLink.h"
#include "platform/AppPaths.h"

#include <string>

namespace ombrel {

inline constexpr const char* kKeyboardFileSuffix = "toml";

// Whether `path` names a keyboard file rather than a profile file.
bool IsKeyboardFilePath(const std::string& path);

// Reads the keyboard and writes it to `path` (replaced if there). LINK_OK, or the failure with `why`.
int BackUpKeyboardFile(DeviceLink& link, const AppPaths& paths, const std::string& path, std::string* why);

// Makes the keyboard match the file at `path`, writing only what differs. A file with a problem writes nothing
// and says where ("LINE:COLUMN: what"). LINK_OK, or the failure with `why`.
int RestoreKeyboardFile(DeviceLink& link, const AppPaths& paths, const std::string& path, std::string* why);

} // namespace ombrel
