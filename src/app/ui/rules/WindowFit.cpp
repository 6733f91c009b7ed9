#include "WindowFit.h"

#include <algorithm>
#include <cmath>

namespace ombrel {

namespace {
// Below this the window would be unreadable; a screen that small gets it at this size rather than shrunk away.
constexpr double kSmallestScale = 0.5;
} // namespace

double WindowFitScale(int windowWidth, int windowHeight, int areaWidth, int areaHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return 1.0;
    if (windowWidth <= areaWidth && windowHeight <= areaHeight) return 1.0;
    const double exact =
        std::min(static_cast<double>(areaWidth) / windowWidth, static_cast<double>(areaHeight) / windowHeight);
    // Rounded down, so the scaled window never comes out a pixel larger than the area.
    return std::max(kSmallestScale, std::floor(exact * 100.0) / 100.0);
}

} // namespace ombrel
