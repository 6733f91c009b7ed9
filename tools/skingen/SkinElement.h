#pragma once
// One entry of the skin's geometry table: a control's layout key, its rectangle in the dialog's client pixels and
// how the generator draws it. The layout files and every picture are made from the same entries.

#include <QRect>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <vector>

namespace skingen {

enum class Kind {
    Key,        // a keyboard key with its legend drawn in the picture
    GKey,       // a macro key of the G column
    Button,     // a push button; its caption is drawn by the program, the picture may carry an icon
    Tab,        // a tab of the composite dialog
    CaptionBtn, // window caption button (menu, help, minimise, close)
    Indicator,  // an LED-like indicator (locks, bank)
    Chip,       // a small selectable plate with its text in the picture (report rates, layout)
    Arrow,      // the layout arrows; their faces come from Arrow.jpg
    Page,       // a page area (the composite dialog's tab page behind the active tab)
    Field,      // an edit, combo box or list: a recessed well the control sits in
    Label,      // a text label drawn by the program; nothing in the picture
    Picture,    // a panel bitmap shown by the program; nothing in the picture
    Hidden,     // positioned but never shown
};

// Icons drawn on buttons instead of (language-dependent) captions.
enum class Glyph {
    None,
    Menu,
    Help,
    Minimise,
    Close,
    Globe,
    Plus,
    Minus,
    Trash,
    Record,
    Up,
    Top,
    Down,
    Bottom,
    Eraser,
    Keyboard,
    Folder,
    Upload,
    Stop,
    Save,
    Logo,
    Link
};

struct SkinElement {
    QString key; // layout key in section BUTTONINFO
    QRect rect;  // client coordinates
    Kind kind = Kind::Label;
    QString legend;    // text drawn into the picture (keys, chips)
    QString subLegend; // the smaller second legend of a key
    Glyph glyph = Glyph::None;
    QString group;          // which picture set draws the element's states ("" = the dialog's only set)
    QString page;           // the tab page the element belongs to ("" = every page)
    bool glyphLeft = false; // the program draws a caption in the middle; the icon keeps to the left
};

// Where a button with a caption drawn by the program carries its icon: at the left, centred in height, relative to
// the button. The layout file tells the program (section ICONINFO), which keeps the caption clear of it.
inline QRectF CaptionIconRect(const QRectF& button) {
    const QRectF body = button.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal side = std::min<qreal>(18, body.height() - 10);
    return {body.left() + 10, body.center().y() - side / 2, side, side};
}

// A tab's icon: at the left, 16 pixels, centred in height.
inline QRectF TabIconRect(const QRectF& tab) {
    const QRectF body = tab.adjusted(0.5, 0.5, -0.5, -0.5);
    return {body.left() + 12, body.center().y() - 8, 16, 16};
}

struct DialogGeometry {
    QString name;         // layout file name without extension
    QSize client;         // the dialog's client size = background size
    int stateMargin = 1;  // state pictures are this much larger than the client area at right and bottom
    int captionLine = 51; // where the accent line under the caption runs
    std::vector<SkinElement> elements;
    std::vector<SkinElement> extras; // BUTTONINFO2 and other keys written but not drawn

    const SkinElement* find(const QString& key) const;
};

} // namespace skingen
