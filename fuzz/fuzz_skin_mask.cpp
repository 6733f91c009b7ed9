// Window shapes from arbitrary small mask pictures: the runs stay inside the picture, never touch, and the merged
// bands cover exactly the same pixels.
#include "rules/MaskRuns.h"
#include "util/Bytes.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 8;
    if (size < kHeader) return 0;
    // Header: width, height, extra stride (each a byte, kept small), key colour (3 bytes), tolerance, spare.
    const int width = static_cast<int>(data[0] % 48) - 2; // -2..45: bad widths too
    const int height = static_cast<int>(data[1] % 48) - 2;
    const int stride = width + static_cast<int>(data[2] % 4) - 1;
    const std::uint32_t key =
        static_cast<std::uint32_t>(data[3]) << 16 | static_cast<std::uint32_t>(data[4]) << 8 | data[5];
    const int tolerance = static_cast<int>(data[6]) - 16;
    std::vector<std::uint32_t> pixels;
    for (std::size_t at = kHeader; at + 4 <= size; at += 4)
        pixels.push_back(ombrel::getLe32(data + at));

    const auto runs = ombrel::ScanMaskRuns(pixels, width, height, stride, key, tolerance);
    long long area = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const auto& r = runs[i];
        if (r.left < 0 || r.right > width || r.left >= r.right || r.top < 0 || r.bottom != r.top + 1 ||
            r.bottom > height)
            __builtin_trap();
        if (i > 0 && runs[i - 1].top == r.top && runs[i - 1].right >= r.left) __builtin_trap();
        if (i > 0 && runs[i - 1].top > r.top) __builtin_trap();
        area += r.right - r.left;
    }
    long long merged = 0;
    for (const auto& r : ombrel::MergeRowBands(runs))
        merged += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
    if (merged != area) __builtin_trap();
    return 0;
}
