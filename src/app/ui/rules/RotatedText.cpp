#include "RotatedText.h"

#include <cmath>
#include <numbers>

namespace ombrel {

TextBox PlaceRotatedText(const TextBox& box, int escapement, int cx, int cy) {
    const double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    TextBox out = box;
    const double horizontal = cx * c;
    const double vertical = cx * s;
    if (horizontal < width) out.left = static_cast<int>(box.left + (width - horizontal) / 2.0 - cy * s / 2.0);
    if (vertical < height) out.bottom = static_cast<int>(box.bottom - (height - vertical) / 2.0 + cy * c / 2.0);
    return out;
}

} // namespace ombrel
