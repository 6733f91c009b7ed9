#pragma once
// How the screens use the palette: text styles of the skinned buttons, and the style sheet of the plain Qt
// controls that sit on the skin.

#include "skin/SkinPalette.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

namespace ombrel {

class SkinButton;
class ColorStatic;

inline QColor ToQColor(palette::Rgb c, int alpha = 255) {
    return QColor(c.r, c.g, c.b, alpha);
}

inline QString Hex(palette::Rgb c) {
    return QString::fromStdString(palette::HexText(c));
}

// The skin's font for button texts.
QString SkinFontFace();
// The one font of every text, with the Chinese and Japanese fallback for what Inter does not have.
QStringList SkinFontFamilies();
// A text button of the main window: light text, the accent when pressed or checked, dim when disabled.
void StyleTextButton(SkinButton* button, int pointSize = 10);
// The version caption: dim in every state.
void StyleVersionButton(SkinButton* button);
// A label in the skin's dimmed text.
void StyleDimLabel(ColorStatic* label);
// Dark looks for line edits, combo boxes, lists and tool tips on the skin.
QString ControlStyleSheet();

// The skin's colours as a widget palette: dark faces, light text, the one cyan accent for selection and links.
QPalette DarkPalette();
// Message box icons in the program's look: an accent ring with a question mark or an "i".
enum class PromptIcon { Question, Information };
QPixmap PromptIconPixmap(PromptIcon icon);
// The look of everything the skin does not draw (menus, message boxes, file and colour dialogs, tool tips): the
// Fusion style with DarkPalette and a few rules for menus and buttons, for the whole application.
void ApplyProgramLook();

} // namespace ombrel
