#pragma once
// The name a profile goes by on screen: its store file's name without the extension, or the language's name for
// the default profile when the keyboard's active profile is unknown.

#include "platform/AppPaths.h"

#include <QString>

namespace ombrel {

// `profile` 0..2, or a negative value for "unknown".
QString ProfileName(const AppPaths& paths, int profile, int languageIndex);

} // namespace ombrel
