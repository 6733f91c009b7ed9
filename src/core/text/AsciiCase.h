#pragma once
// Case changes of the ASCII letters only: names in INI files and locale names are compared this way, whatever
// the user's locale, and other bytes (UTF-8 sequences included) are left as they are.

#include <string>
#include <string_view>

namespace ombrel {

inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace ombrel
