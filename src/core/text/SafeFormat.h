#pragma once
// Filling texts from language files that carry a placeholder, such as "Unknown key (%03X)" or "You can have at
// most %d macros.". The text is never handed to printf: it is scanned here, the program's one argument goes
// into the first conversion of the kind it expects, and every other conversion is shown as it is written, so a
// wrong or hostile text ("%s" where a number is expected, "%n", a second "%d") shows odd text but can never read
// or write memory. "%%" becomes "%".
//
// Integer conversions: d i u x X o, with flags (- + space # 0), a width, a precision and an optional length
// modifier (hh h l ll j z t) that sets how many bits of the value are shown, as printf would. String conversion:
// s (or ls), with the - flag, a width and a precision counted in characters; a string is never cut inside a
// UTF-8 sequence. Widths and precisions above kMaxFieldWidth make the conversion literal.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

enum class ConversionKind { Integer, String, Other };

inline constexpr std::size_t kMaxFieldWidth = 256;

// The conversions of `text` in order ("%%" is none), for checks of language texts.
std::vector<ConversionKind> ListConversions(std::string_view text);

std::string FormatTextInt(std::string_view text, long long value);
std::string FormatTextString(std::string_view text, std::string_view value);

} // namespace ombrel
