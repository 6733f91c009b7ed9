#pragma once
// The size the skinned windows are shown at. The skin has one fixed size; on a screen smaller than the main window
// the whole program is shown smaller, all by the same factor: the places and sizes of the controls, the pictures
// they cut their faces from, the window shapes and the fonts. Layout files keep their own coordinates; they are
// scaled on the way into the window.

#include <QRect>

namespace ombrel {

// 1 unless set smaller at start-up.
double SkinWindowScale();
void SetSkinWindowScale(double scale);

// A rectangle of a layout file in the window's coordinates. Edges are scaled, not sizes, so neighbours that touch
// in the layout still touch.
QRect ScaleSkinRect(const QRect& layoutRect);
QPoint ScaleSkinPoint(const QPoint& layoutPoint);
// A font size (points or pixels) at the window's scale.
double ScaleSkinFont(double size);
int ScaleSkinPixels(int pixels);

} // namespace ombrel
