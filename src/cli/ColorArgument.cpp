#include "ColorArgument.h"

#include "lighting/ColorFile.h"

#include <charconv>
#include <cstdio>

namespace ombrel::cli {

std::optional<Rgb> ParseColorArgument(std::string_view text) {
    if (!text.empty() && text[0] == '#') text.remove_prefix(1);
    if (text.size() == 6 && text.find(',') == std::string_view::npos) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, value, 16);
        if (ec != std::errc() || end != text.data() + 6) return std::nullopt;
        return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                   static_cast<std::uint8_t>(value)};
    }
    return ParseColor(text);
}

std::optional<Rgb> ColorOrComplain(const std::string& text) {
    const auto color = ParseColorArgument(text);
    if (!color) std::fprintf(stderr, "%s\n", NotAColorText(text).c_str());
    return color;
}

std::string NotAColorText(const std::string& text) {
    return "'" + text +
           "' is not a colour. COLOR is RRGGBB in hexadecimal (\"ff8000\", also \"#ff8000\") or R,G,B in decimal "
           "(\"255,128,0\").";
}

std::string HexColor(Rgb c) {
    char s[8];
    std::snprintf(s, sizeof s, "%02X%02X%02X", c.r, c.g, c.b);
    return s;
}

Json JsonColor(Rgb c) {
    Json json;
    json["hex"] = HexColor(c);
    json["red"] = unsigned(c.r);
    json["green"] = unsigned(c.g);
    json["blue"] = unsigned(c.b);
    return json;
}

} // namespace ombrel::cli
