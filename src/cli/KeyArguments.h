#pragma once
// Keys and key functions as they are written on the command line. Keys go by the names the language file gives
// them, matched forgivingly (letter case, blanks and punctuation do not matter, a unique beginning is enough:
// "caps lock", "CapsLock", "caps"), by the short captions of the keyboard map ("Ctrl", "Win", "Del"), or by key
// code in hexadecimal ("0x03A"); the G keys are G1..G9 (bank A, also G1A..G9A) and G1B..G9B.

#include "assign/AssignmentCaption.h"
#include "keys/KeyImage.h"
#include "keys/KeyRecord.h"
#include "keys/TextSources.h"
#include "text/NameMatcher.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::cli {

// Letters in lower case, blanks, '_' and '-' left out: how words such as lighting fields are compared.
std::string NormaliseName(std::string_view text);

// What a name given on the command line found: a value, or why not with the closest names.
struct NameLookup {
    std::optional<int> value;
    std::string problem; // without a value: "'x' is not a key ...; did you mean ...?"
    std::string hint;    // the "did you mean ...?" part alone, "" when nothing is close
};

// The names ombrelctl accepts, in the user's language.
class KeyNames {
public:
    explicit KeyNames(const TextLookup& text);

    // The key code a name or hexadecimal code stands for.
    std::optional<KeyCode> parse(std::string_view text) const;
    // As parse, with the closest names when nothing is found.
    NameLookup lookupKey(std::string_view text) const;
    NameLookup lookupMedia(std::string_view text) const;    // row of the media table
    NameLookup lookupFunction(std::string_view text) const; // 0-based keyboard function

    std::vector<std::string> keyNames() const { return m_keys.names(); }
    std::vector<std::string> mediaNames() const { return m_media.names(); }
    std::vector<std::string> functionNames() const { return m_functions.names(); }

private:
    NameMatcher m_keys;
    NameMatcher m_media;
    NameMatcher m_functions;
};

// The key index of a key argument (a key name or code, or a G key); without one, why not.
struct KeyArgumentLookup {
    std::optional<KeyIndex> index;
    std::string problem;
    std::string hint; // "did you mean ...?", or ""
};
KeyArgumentLookup LookupKeyArgument(std::string_view text, const KeyNames& names);
std::optional<KeyIndex> ParseKeyArgument(std::string_view text, const KeyNames& names);
// "0x03A" for keyboard keys, "G3" / "G3B" for the G keys.
std::string KeyArgument(KeyIndex index);
// The key's name as the window shows it, "G3" / "G3B" for the G keys.
std::string KeyLabel(KeyIndex index, const KeyNameLookup& keyName);

// A function argument: default, disabled, key:KEY, mouse:left|right|middle, wheel:up|down, media:NAME|ROW,
// function:NAME|1..11, macro:ID, stop-macro. On failure the reason is in `error`.
std::optional<KeyRecord> ParseFunctionArgument(std::string_view text, const KeyNames& names, std::string* error);
// The argument that gives `record` (keys in hexadecimal); "program" and "text" for the two string functions.
std::string FunctionArgument(const KeyRecord& record);
// The function arguments of the mouse buttons and wheel steps, with the key each stands for.
struct MouseArgument {
    const char* argument;
    KeyCode code;
};
extern const MouseArgument kMouseArguments[5];

// What `record` does, in the window's words: "Key (Esc)", "Macro (Name)"; a function without such a text is
// described in a word ("factory function", "disabled").
std::string FunctionDescription(const KeyRecord& record, const TextLookup& text, const KeyNameLookup& keyNames,
                                const MacroNameLookup& macroName);
// "Caps Lock: Key (Esc)".
std::string KeyLine(const std::string& keyLabel, const std::string& description, const TextLookup& text);

// The help text that lists the function arguments.
extern const char* const kFunctionArgumentHelp;

} // namespace ombrel::cli
