#include "assign/DialogPlacement.h"

#include <algorithm>

namespace ombrel {

ScreenPoint PlaceBesideKey(const ScreenRect& screen, const ScreenRect& button, int width, int height) {
    const bool roomRight = screen.right - button.right >= width;
    const bool roomBelow = screen.bottom - button.bottom >= height;
    const bool roomAbove = button.top - screen.top >= height;
    ScreenPoint p{button.right, button.bottom};
    if (roomRight && roomBelow) {
        p = {button.right, button.bottom};
    } else if (roomRight && roomAbove) {
        p = {button.right, button.top - height};
    } else if (button.left - screen.left < width) {
        p = {button.right, button.bottom}; // no room on the left either
    } else if (roomBelow) {
        p = {button.left - width, button.bottom};
    } else if (roomAbove) {
        p = {button.left - width, button.top - height};
    }
    // The fallbacks can leave the dialog partly off the screen, with its buttons out of reach: move it back in,
    // keeping the top-left corner visible when the dialog is larger than the screen.
    p.x = std::max(screen.left, std::min(p.x, screen.right - width));
    p.y = std::max(screen.top, std::min(p.y, screen.bottom - height));
    return p;
}

} // namespace ombrel
