#pragma once
// A whole number as a person types it and the settings files store it.

#include <optional>
#include <string_view>

namespace ombrel {

// Decimal digits ("12", "012") or hexadecimal digits after 0x or 0X ("0xC"), without sign, blanks or fraction.
// Nothing for anything else, or for a value beyond long long.
std::optional<long long> ParseWholeNumber(std::string_view text);

// Decimal digits only ("12", "012"), as counts, rows and macro ids are written. Nothing for anything else.
std::optional<unsigned long> ParseDecimal(std::string_view text);

} // namespace ombrel
