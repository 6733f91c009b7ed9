#pragma once
// The system's default language as a language identifier (0x0409 for US English), the unit in which language
// files are named and the language choice is stored. The locale name ("en_GB.UTF-8") is turned into one by a
// table of the common ones.

#include <cstdint>
#include <string_view>

namespace ombrel {

inline constexpr std::uint32_t kEnglishUs = 0x0409;

// The identifier of a locale name such as "de_DE", "en_GB.UTF-8", "sr_RS@latin" or "pt-BR". A known language
// with an unknown or missing country gives the language's main identifier ("de_XX" and "de" give 0x0407);
// "C", "POSIX", an empty name and unknown languages give 0x0409 (English, United States).
std::uint32_t LanguageIdFromLocale(std::string_view locale);

// The identifier of the locale that messages are shown in: the first set one of LC_ALL, LC_MESSAGES and LANG.
std::uint32_t SystemLanguageId();

} // namespace ombrel
