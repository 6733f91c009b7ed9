#pragma once
// INI files with the observable rules of the classic private-profile functions: section and key names matched
// without regard to case, the default text for a missing key, at most 259 characters returned, surrounding blanks
// trimmed, one pair of surrounding quotes removed, comment lines, the first of duplicate keys wins; a write keeps
// everything else in the file and creates the file, section or key that is missing. Files are UTF-8 (a UTF-16LE
// file with a byte-order mark is read too); writes replace the file atomically. IniDocument.h has the rules in
// full.

#include "text/IniDocument.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ombrel {

// The value of `key` in `section` of the file at `path`, or `defaultText` when the file, section or key is missing.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultText);

// Sets `key` in `section` to `value`, creating what is missing. Returns false when the file cannot be written,
// when it exists but cannot be read (it is then left alone), or when the names or the value cannot be stored
// (see IniDocument::setValue). The folder must exist.
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

struct IniValue {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};
// Several keys in one read-modify-replace of the file: all of them are written or none (false as above, with the
// reason for the user in `why` when given).
bool WriteIniStrings(const std::string& path, std::span<const IniValue> values, std::string* why = nullptr);

// The whole file, parsed once, for callers that look up many keys; nothing when it is missing or unreadable.
std::optional<IniDocument> ReadIniDocument(const std::string& path);

} // namespace ombrel
