#pragma once
// The look of the skin: one dark palette with a single cyan accent, the fonts loaded from fixed files, and the
// drawing of every kind of element in every state.

#include "SkinElement.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

namespace skingen {

enum class State { Normal, Hover, Pressed, Checked, Disabled, Unmarked, Marked };

namespace colours {
inline const QColor kWindow(0x0e, 0x10, 0x14);
inline const QColor kTitle(0x13, 0x16, 0x1b);
inline const QColor kPanel(0x16, 0x19, 0x1f);
inline const QColor kPanelEdge(0x24, 0x28, 0x31);
inline const QColor kWell(0x0b, 0x0d, 0x10);
inline const QColor kFace(0x22, 0x26, 0x2e);
inline const QColor kFaceHover(0x2b, 0x30, 0x3a);
inline const QColor kFacePressed(0x12, 0x15, 0x1a);
inline const QColor kFaceDisabled(0x18, 0x1a, 0x1f);
inline const QColor kEdge(0x33, 0x38, 0x43);
inline const QColor kText(0xe8, 0xec, 0xf2);
inline const QColor kTextDim(0x8a, 0x92, 0xa2);
inline const QColor kTextDisabled(0x4a, 0x50, 0x5c);
inline const QColor kAccent(0x2e, 0xe6, 0xd6);
inline const QColor kAccentDeep(0x0f, 0x5c, 0x58);
inline const QColor kRecord(0xff, 0x4d, 0x5e);
} // namespace colours

class Theme {
public:
    // Loads the fonts from the given files; false when a file cannot be loaded.
    bool loadFonts(const QString& latinRegular, const QString& latinBold, const QString& cjk);

    QFont font(int pixelSize, bool bold = false) const;
    QFont cjkFont(int pixelSize) const;

    void drawWindow(QPainter& p, const QSize& client, bool titleBar) const;
    void drawPanel(QPainter& p, const QRect& r) const;
    void drawElement(QPainter& p, const SkinElement& e, State s) const;
    void drawKey(QPainter& p, const QRect& r, const QString& legend, const QString& sub, State s) const;
    void drawButton(QPainter& p, const QRect& r, Glyph g, const QString& text, State s, bool primary = false) const;
    void drawGlyph(QPainter& p, const QRectF& r, Glyph g, const QColor& c) const;
    void drawLogo(QPainter& p, const QPoint& at, int height) const;

private:
    void drawWell(QPainter& p, const QRect& r) const;
    void drawIndicator(QPainter& p, const SkinElement& e, State s) const;
    void drawChip(QPainter& p, const SkinElement& e, State s) const;
    void drawTab(QPainter& p, const SkinElement& e, State s) const;
    void drawCaptionButton(QPainter& p, const SkinElement& e, State s) const;

    QString m_latin;
    QString m_latinBold;
    QString m_cjk;
};

} // namespace skingen
