#pragma once
// How the screens use the palette: text styles of the skinned buttons, and the style sheet of the plain Qt
// controls that sit on the skin.

#include "skin/SkinPalette.h"

#include <QColor>
#include <QString>

namespace ombrel {

class CPngButton;
class ColorStatic;

inline QColor ToQColor(palette::Rgb c, int alpha = 255) {
    return QColor(c.r, c.g, c.b, alpha);
}

inline QString Hex(palette::Rgb c) {
    return QString::fromStdString(palette::HexText(c));
}

// The skin's font for button texts.
QString SkinFontFace();
// A text button of the main window: light text, the accent when pressed or checked, dim when disabled.
void StyleTextButton(CPngButton* button, int pointSize = 10);
// The version caption: dim in every state.
void StyleVersionButton(CPngButton* button);
// A label in the skin's dimmed text.
void StyleDimLabel(ColorStatic* label);
// Dark looks for line edits, combo boxes, lists and tool tips on the skin.
QString ControlStyleSheet();

} // namespace ombrel
