#include "SliderMath.h"

#include <algorithm>

namespace ombrel {

namespace {
constexpr int kWheelNotch = 120;
constexpr int kPixelLead = 10;
} // namespace

int ClampSliderPos(const SliderRange& range, int pos) {
    const int low = std::min(range.min, range.max);
    const int high = std::max(range.min, range.max);
    return std::clamp(pos, low, high);
}

int SliderPixelOfPos(const SliderRange& range, int pos, int width) {
    if (range.max == range.min) return 0;
    const double fraction = static_cast<double>(pos - range.min) / static_cast<double>(range.max - range.min);
    return static_cast<int>(fraction * width);
}

int SliderPosOfPixel(const SliderRange& range, int x, int width) {
    if (width <= 0) return ClampSliderPos(range, range.min);
    const double fraction = static_cast<double>(x + kPixelLead) / static_cast<double>(width);
    const double pos = range.min + fraction * static_cast<double>(range.max - range.min);
    const double bounded = std::clamp(pos, -2.0e9, 2.0e9);
    return ClampSliderPos(range, static_cast<int>(bounded));
}

int SliderPosAfterKey(const SliderRange& range, int pos, SliderKey key) {
    long long next = pos;
    switch (key) {
    case SliderKey::PageUp:
        next = static_cast<long long>(pos) - range.page;
        break;
    case SliderKey::PageDown:
        next = static_cast<long long>(pos) + range.page;
        break;
    case SliderKey::End:
        next = range.max;
        break;
    case SliderKey::Home:
        next = range.min;
        break;
    case SliderKey::Right:
    case SliderKey::Down:
        next = static_cast<long long>(pos) + 1;
        break;
    case SliderKey::Left:
    case SliderKey::Up:
        next = static_cast<long long>(pos) - 1;
        break;
    case SliderKey::Other:
        break;
    }
    next = std::clamp<long long>(next, std::min(range.min, range.max), std::max(range.min, range.max));
    return static_cast<int>(next);
}

int SliderWheelSteps(int& accumulator, int delta) {
    // Bounded so a flood of wheel events cannot overflow the accumulator.
    accumulator = std::clamp(accumulator + std::clamp(delta, -100 * kWheelNotch, 100 * kWheelNotch), -100 * kWheelNotch,
                             100 * kWheelNotch);
    const int notches = accumulator / kWheelNotch;
    accumulator -= notches * kWheelNotch;
    return -notches;
}

} // namespace ombrel
