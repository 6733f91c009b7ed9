#pragma once
// Keys and key functions as they are written on the command line. Keys go by the names the language file gives
// them (letter case and blanks do not matter: "caps lock", "CapsLock"), by a few common long spellings of names
// that the language file abbreviates ("Escape"), or by key code in hexadecimal ("0x03A"); the G keys are
// G1..G9 (bank A, also G1A..G9A) and G1B..G9B.

#include "keys/KeyImage.h"
#include "keys/KeyRecord.h"
#include "keys/TextSources.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel::cli {

class KeyNames {
public:
    explicit KeyNames(const TextLookup& text);

    // The key code a name or hexadecimal code stands for.
    std::optional<KeyCode> parse(std::string_view text) const;

private:
    std::map<std::string, KeyCode> m_byName; // normalised name -> lowest key-table row with it
};

// Letters in lower case, blanks, '_' and '-' left out.
std::string NormaliseName(std::string_view text);

// The key index of a key argument (a key name or code, or a G key).
std::optional<KeyIndex> ParseKeyArgument(std::string_view text, const KeyNames& names);
// "0x03A" for keyboard keys, "G3" / "G3B" for the G keys.
std::string KeyArgument(KeyIndex index);

// A function argument: default, disabled, key:KEY, mouse:left|right|middle, wheel:up|down, media:NAME|ROW,
// function:1..11, macro:ID, stop-macro. On failure the reason is in `error`.
std::optional<KeyRecord> ParseFunctionArgument(std::string_view text, const KeyNames& names, const TextLookup& texts,
                                               std::string* error);
// The argument that gives `record` (keys in hexadecimal); "program" and "text" for the two string functions.
std::string FunctionArgument(const KeyRecord& record);

// The help text that lists the function arguments.
extern const char* const kFunctionArgumentHelp;

} // namespace ombrel::cli
