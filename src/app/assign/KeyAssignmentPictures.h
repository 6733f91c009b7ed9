#pragma once
// The pictures of the key assignment dialog: five sets of four faces (normal, hover, pressed, disabled) that its
// buttons and the page behind the tabs are cut from, read once per process.

#include <QString>

class QPixmap;
class QWidget;

namespace ombrel {

class SkinButton;

struct PictureSet {
    const QPixmap* normal = nullptr;
    const QPixmap* over = nullptr;
    const QPixmap* down = nullptr;
    const QPixmap* disable = nullptr;
};

struct KeyAssignmentPictures {
    PictureSet key;      // frame buttons and the single-key page
    PictureSet macro;    // the macro tab's buttons and its page
    PictureSet macro2;   // the greyed tabs, Title and Clear of macro-only mode
    PictureSet media;    // the media page
    PictureSet function; // the function-key page
    QString missing;     // the first picture that could not be read; empty when all were

    static KeyAssignmentPictures load(const QString& skinFolder);
};

// An image button placed from section "BUTTONINFO" of the layout file, its faces cut from `set`; `checked` is the
// face of its pressed-in look (a shown tab, a running recording).
SkinButton* MakeSkinButton(QWidget* parent, const QString& layoutFile, const char* key, const PictureSet& set);
// Gives a button its faces from another set, at the same place.
void UseSet(SkinButton* button, const PictureSet& set);

} // namespace ombrel
