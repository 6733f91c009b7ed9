#pragma once
// A window shape from a mask picture: everything that is not the key colour belongs to the window.

#include <QImage>
#include <QRegion>
#include <QRgb>

namespace ombrel {

inline constexpr QRgb kMaskKeyWhite = 0xFFFFFF;

// The union of one rectangle per run of non-key pixels in each row. Empty when the picture is null or wholly of
// the key colour; callers then keep the window's plain rectangle.
QRegion regionFromMask(const QImage& mask, QRgb keyColour = kMaskKeyWhite, int tolerance = 0);

} // namespace ombrel
