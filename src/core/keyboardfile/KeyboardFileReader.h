#pragma once
// Reads the keyboard file. Everything is checked before anything is used: a syntax error, an unknown entry, a key
// or function that has no name, a value out of range, a macro longer than a macro can be, two macros with one name
// or id, two entries for one key: each comes back with its line and column, and no setup at all.

#include "keyboardfile/KeyboardSetup.h"
#include "keyboardfile/SetupNames.h"

#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

struct FileProblem {
    int line = 0;
    int column = 0;
    std::string message;
    bool operator==(const FileProblem&) const = default;
};

// Where a key of a profile plays a macro, for the check against the macros the keyboard holds.
struct MacroReference {
    int profile;
    KeyIndex key;
    std::uint16_t id;
    int line;
    int column;
};

struct KeyboardFileRead {
    std::optional<KeyboardSetup> setup; // none when there are problems
    std::vector<FileProblem> problems;  // in the order of the file
    std::vector<MacroReference> macroReferences;
    FileProblem macrosAt; // where the macro list starts, for a problem of the list as a whole
};

// Larger files are refused before parsing: the largest the keyboard can fill is far below.
inline constexpr std::size_t kMaxKeyboardFileSize = 16 * 1024 * 1024;

KeyboardFileRead ReadKeyboardFile(std::string_view text, const SetupNames& names);

// "LINE:COLUMN: MESSAGE".
std::string DescribeProblem(const FileProblem& problem);

} // namespace ombrel
