#pragma once
// Colours as the lighting and colour commands take and show them.

#include "JsonOutput.h"
#include "util/Rgb.h"

#include <optional>
#include <string>
#include <string_view>

namespace ombrel::cli {

// RRGGBB in hexadecimal ("ff8000", also "#ff8000") or R,G,B in decimal ("255,128,0").
std::optional<Rgb> ParseColorArgument(std::string_view text);
// Why `text` is no colour, and what a colour looks like.
std::string NotAColorText(const std::string& text);
// ParseColorArgument; prints NotAColorText when `text` is none.
std::optional<Rgb> ColorOrComplain(const std::string& text);
// "FF8000".
std::string HexColor(Rgb c);
// {"hex": "FF8000", "red": 255, "green": 128, "blue": 0}
Json JsonColor(Rgb c);

} // namespace ombrel::cli
