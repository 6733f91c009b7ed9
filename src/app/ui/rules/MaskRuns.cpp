#include "MaskRuns.h"

#include <algorithm>

namespace ombrel {

namespace {

struct ChannelRange {
    int low;
    int high;
    bool contains(int v) const { return v >= low && v <= high; }
};

ChannelRange RangeOf(std::uint32_t rgb, int shift, int tolerance) {
    const int key = static_cast<int>((rgb >> shift) & 0xFFu);
    return {key, std::min(255, key + std::max(0, tolerance))};
}

} // namespace

std::vector<RunRect> ScanMaskRuns(std::span<const std::uint32_t> pixels, int width, int height, int stride,
                                  std::uint32_t keyRgb, int tolerance) {
    std::vector<RunRect> rects;
    if (width <= 0 || height <= 0 || stride < width) return rects;
    const std::uint64_t needed =
        static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height - 1) + static_cast<std::uint64_t>(width);
    if (pixels.size() < needed) return rects;
    // Channels are compared like with like (red with red), whatever the order of bytes in memory.
    const ChannelRange red = RangeOf(keyRgb, 16, tolerance);
    const ChannelRange green = RangeOf(keyRgb, 8, tolerance);
    const ChannelRange blue = RangeOf(keyRgb, 0, tolerance);
    auto transparent = [&](std::uint32_t p) {
        return red.contains(static_cast<int>((p >> 16) & 0xFFu)) &&
               green.contains(static_cast<int>((p >> 8) & 0xFFu)) && blue.contains(static_cast<int>(p & 0xFFu));
    };
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        int x = 0;
        while (x < width) {
            while (x < width && transparent(row[x]))
                ++x;
            if (x >= width) break;
            const int start = x;
            while (x < width && !transparent(row[x]))
                ++x;
            rects.push_back({start, y, x, y + 1});
        }
    }
    return rects;
}

std::vector<RunRect> MergeRowBands(const std::vector<RunRect>& rowRuns) {
    std::vector<RunRect> out;
    std::size_t bandStart = 0; // first rectangle of the last band in `out`
    std::size_t i = 0;
    while (i < rowRuns.size()) {
        std::size_t j = i;
        while (j < rowRuns.size() && rowRuns[j].top == rowRuns[i].top)
            ++j;
        const std::size_t count = j - i;
        bool same = !out.empty() && out.size() - bandStart == count && out[bandStart].bottom == rowRuns[i].top;
        for (std::size_t k = 0; same && k < count; ++k)
            same = out[bandStart + k].left == rowRuns[i + k].left && out[bandStart + k].right == rowRuns[i + k].right;
        if (same) {
            for (std::size_t k = 0; k < count; ++k)
                out[bandStart + k].bottom = rowRuns[i + k].bottom;
        } else {
            bandStart = out.size();
            out.insert(out.end(), rowRuns.begin() + static_cast<std::ptrdiff_t>(i),
                       rowRuns.begin() + static_cast<std::ptrdiff_t>(j));
        }
        i = j;
    }
    return out;
}

} // namespace ombrel
