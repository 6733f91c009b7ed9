#pragma once
// The look of the skin: one dark palette with a single cyan accent, the fonts loaded from fixed files, and the
// drawing of every kind of element in every state.

#include "SkinElement.h"

#include "skin/SkinPalette.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace skingen {

enum class State { Normal, Hover, Pressed, Checked, Disabled, Unmarked, Marked };

namespace colours {
// The program's palette (core/skin/SkinPalette.h) as the painter takes it.
inline QColor FromPalette(ombrel::palette::Rgb c) {
    return QColor(c.r, c.g, c.b);
}
inline const QColor kWindow = FromPalette(ombrel::palette::kWindow);
inline const QColor kTitle = FromPalette(ombrel::palette::kTitle);
inline const QColor kPanel = FromPalette(ombrel::palette::kPanel);
inline const QColor kPanelEdge = FromPalette(ombrel::palette::kPanelEdge);
inline const QColor kWell = FromPalette(ombrel::palette::kWell);
inline const QColor kFace = FromPalette(ombrel::palette::kFace);
inline const QColor kFaceHover = FromPalette(ombrel::palette::kFaceHover);
inline const QColor kFacePressed = FromPalette(ombrel::palette::kFacePressed);
inline const QColor kFaceDisabled = FromPalette(ombrel::palette::kFaceDisabled);
inline const QColor kEdge = FromPalette(ombrel::palette::kEdge);
inline const QColor kText = FromPalette(ombrel::palette::kText);
inline const QColor kTextDim = FromPalette(ombrel::palette::kTextDim);
inline const QColor kTextDisabled = FromPalette(ombrel::palette::kTextDisabled);
inline const QColor kAccent = FromPalette(ombrel::palette::kAccent);
inline const QColor kAccentDeep = FromPalette(ombrel::palette::kAccentDeep);
inline const QColor kRecord = FromPalette(ombrel::palette::kRecord);
inline const QColor kTextMuted = FromPalette(ombrel::palette::kTextMuted);
inline const QColor kPopupEdge = FromPalette(ombrel::palette::kPopupEdge);
} // namespace colours

class Theme {
public:
    // Loads the fonts from the given files; false when a file cannot be loaded.
    bool loadFonts(const QString& latinRegular, const QString& latinBold, const QString& cjk);

    // Every picture is drawn twice: at 1x, and at 2x for screens with twice the pixel density. The drawing code
    // works in 1x pixels either way; the canvas carries the scale.
    void setScale(int scale) { m_scale = scale; }
    int scale() const { return m_scale; }
    // A picture of `size` 1x pixels at the current scale.
    QImage canvas(const QSize& size, QImage::Format format = QImage::Format_RGB32) const;

    QFont font(int pixelSize, bool bold = false) const;
    QFont cjkFont(int pixelSize) const;

    // The window's surface; with a title bar, a faint accent line runs at `captionLine` under it.
    void drawWindow(QPainter& p, const QSize& client, bool titleBar, int captionLine = 51) const;
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
    int m_scale = 1;
};

} // namespace skingen
