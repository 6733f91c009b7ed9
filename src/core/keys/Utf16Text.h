#pragma once
// UTF-16 names and strings of the stored formats, to and from the UTF-8 texts of the rest of the program.

#include <string>
#include <string_view>

namespace ombrel {

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Bytes that are not UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace ombrel
