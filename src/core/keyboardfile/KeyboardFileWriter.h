#pragma once
// Writes a keyboard setup as the keyboard file: TOML, one table per profile, macros as an array of tables.

#include "keyboardfile/KeyboardSetup.h"
#include "keyboardfile/SetupNames.h"

#include <string>

namespace ombrel {

// The file's text; `comment` (lines without '#') goes on top, each line as a comment.
std::string WriteKeyboardFile(const KeyboardSetup& setup, const SetupNames& names, const std::string& comment = {});

// "FF8000".
std::string SetupColorText(Rgb color);

} // namespace ombrel
