#include "RegionFromMask.h"

#include "rules/MaskRuns.h"

#include <QRect>

#include <span>
#include <vector>

namespace ombrel {

QRegion regionFromMask(const QImage& mask, QRgb keyColour, int tolerance) {
    if (mask.isNull()) return {};
    const QImage rgb = mask.convertToFormat(QImage::Format_RGB32);
    const int stride = static_cast<int>(rgb.bytesPerLine() / 4);
    const auto* first = reinterpret_cast<const std::uint32_t*>(rgb.constBits());
    const std::span<const std::uint32_t> pixels(first, static_cast<std::size_t>(rgb.sizeInBytes() / 4));
    const std::vector<RunRect> runs =
        MergeRowBands(ScanMaskRuns(pixels, rgb.width(), rgb.height(), stride, keyColour, tolerance));
    if (runs.empty()) return {};
    std::vector<QRect> rects;
    rects.reserve(runs.size());
    for (const RunRect& r : runs)
        rects.emplace_back(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    QRegion region;
    // Bands top to bottom, runs left to right and never touching: the order setRects needs for one pass.
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

} // namespace ombrel
