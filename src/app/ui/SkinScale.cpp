#include "SkinScale.h"

#include <cmath>

namespace ombrel {

namespace {
double g_scale = 1.0; // set once on the UI thread before the first window is made
} // namespace

double SkinWindowScale() {
    return g_scale;
}

void SetSkinWindowScale(double scale) {
    g_scale = scale > 0 && scale <= 1.0 ? scale : 1.0;
}

int ScaleSkinPixels(int pixels) {
    return static_cast<int>(std::lround(pixels * g_scale));
}

QPoint ScaleSkinPoint(const QPoint& p) {
    return QPoint(ScaleSkinPixels(p.x()), ScaleSkinPixels(p.y()));
}

QRect ScaleSkinRect(const QRect& r) {
    if (g_scale == 1.0) return r;
    const int left = ScaleSkinPixels(r.x());
    const int top = ScaleSkinPixels(r.y());
    return QRect(left, top, ScaleSkinPixels(r.x() + r.width()) - left, ScaleSkinPixels(r.y() + r.height()) - top);
}

double ScaleSkinFont(double size) {
    return size * g_scale;
}

} // namespace ombrel
