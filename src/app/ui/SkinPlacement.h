#pragma once
// Placing controls from a skin layout file. Every call reads the file again, so a dialog that re-places a control
// (the lighting panel does) always follows the file. Places are scaled to the window's scale (SkinScale.h); the
// source points of button faces stay in the layout's coordinates.

#include <QString>

class QPixmap;
class QWidget;

namespace ombrel {

class SkinButton;
struct SkinRect;

// Reads the rectangle of `key` in `section` of the layout file (full path).
SkinRect readSkinRect(const QString& layoutFile, const QString& section, const QString& key);

// Places an image button and gives it its five state pictures with its own position as the source point. A key
// that is missing, or holds fewer than four numbers, leaves the button at (1, 1), 1 by 1, and disabled.
void placeSkinButton(SkinButton* button, const QString& layoutFile, const QString& section, const QString& key,
                     const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed, const QPixmap* disabled,
                     const QPixmap* checked);

// Moves and sizes any control. A value with fewer than four numbers places it at (1, 1), 1 by 1, disabled.
void placeControl(QWidget* widget, const QString& layoutFile, const QString& section, const QString& key);

// Moves a control, keeping its size.
void moveControl(QWidget* widget, const QString& layoutFile, const QString& section, const QString& key);

// Places a button from one key and takes its face, the same in every state, from the point of another key.
void placeArrowButton(SkinButton* button, const QString& layoutFile, const QString& section, const QString& key,
                      const QString& section2, const QString& key2, const QPixmap* image);

} // namespace ombrel
