#pragma once
// The arithmetic of the picture slider: which pixel shows a position, which position a pixel means, and what a key
// or a wheel turn does. Plain functions so the rules are tested without a widget.

namespace ombrel {

struct SliderRange {
    int min = 0;
    int max = 100;
    int page = 1;
};

int ClampSliderPos(const SliderRange& range, int pos);

// (pos - min) / (max - min) * width, truncated; 0 for an empty range.
int SliderPixelOfPos(const SliderRange& range, int pos, int width);

// min + ((x + 10) / width) * (max - min), truncated, then clamped to the range. The 10-pixel lead makes a press
// just short of a step land on it. A zero width gives min.
int SliderPosOfPixel(const SliderRange& range, int x, int width);

enum class SliderKey { PageUp, PageDown, End, Home, Right, Down, Left, Up, Other };

// The position after a key, clamped; Other keeps the position.
int SliderPosAfterKey(const SliderRange& range, int pos, SliderKey key);

// Wheel turns arrive in eighths of a degree, 120 per notch, and high-resolution wheels send parts of a notch. The
// accumulator collects them; each whole notch away from the user (positive) lowers the position by one, each notch
// towards the user raises it. Returns the number of steps to add (negative = lower) and keeps the remainder.
int SliderWheelSteps(int& accumulator, int delta);

} // namespace ombrel
