#include "skin/SkinPalette.h"

#include <cstdio>

namespace ombrel::palette {

std::string Rgb::hex() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
    return text;
}

} // namespace ombrel::palette
