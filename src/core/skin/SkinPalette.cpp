#include "skin/SkinPalette.h"

#include <cstdio>

namespace ombrel::palette {

std::string HexText(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

} // namespace ombrel::palette
