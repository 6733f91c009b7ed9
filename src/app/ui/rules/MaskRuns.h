#pragma once
// Turns a mask picture into the rectangles of a window shape: every run of consecutive pixels in a row that are
// not of the key colour (within the tolerance) becomes one rectangle one pixel high. No Qt, so it is fuzzed alone.

#include <cstdint>
#include <span>
#include <vector>

namespace ombrel {

struct RunRect {
    int left = 0;
    int top = 0;
    int right = 0; // one past the run's last pixel
    int bottom = 0;
    bool operator==(const RunRect&) const = default;
};

// A pixel is 0xAARRGGBB (alpha ignored). A channel counts as transparent from the key's value up to the value plus
// the tolerance, capped at 255; a pixel is transparent when all three channels are. Rows run from the top down.
// `pixels` holds `height` rows of `stride` pixels, of which the first `width` are used. Bad dimensions (negative,
// stride below width, too few pixels) give no rectangles.
std::vector<RunRect> ScanMaskRuns(std::span<const std::uint32_t> pixels, int width, int height, int stride,
                                  std::uint32_t keyRgb, int tolerance);

// The same area with rows of identical runs joined into taller rectangles, still sorted top to bottom and left
// to right: far fewer rectangles for a shape whose outline changes only near its corners.
std::vector<RunRect> MergeRowBands(const std::vector<RunRect>& rowRuns);

} // namespace ombrel
