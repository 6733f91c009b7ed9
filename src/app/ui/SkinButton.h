#pragma once
// The image button nearly every clickable element of the skinned dialogs is made of. Its face for each state is cut
// out of a whole-dialog picture at the button's own position, so a dialog's pictures show every button in one state.

#include "SkinControl.h"
#include "SkinImageCache.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class QPainter;
class QPixmap;

namespace ombrel {

// Text layout flags: horizontal and vertical alignment, word wrap, single line.
inline constexpr unsigned kDtLeft = 0x0;
inline constexpr unsigned kDtCenter = 0x1;
inline constexpr unsigned kDtRight = 0x2;
inline constexpr unsigned kDtVCenter = 0x4;
inline constexpr unsigned kDtBottom = 0x8;
inline constexpr unsigned kDtWordBreak = 0x10;
inline constexpr unsigned kDtSingleLine = 0x20;
inline constexpr unsigned kDtDefaultFormat = kDtCenter | kDtVCenter | kDtSingleLine; // 37

class SkinButton : public QAbstractButton, public SkinControl {
    Q_OBJECT
public:
    enum class Face { None, Normal, Hover, Pressed, Disabled, Checked, Alternate };
    using AfterPaint = std::function<void(SkinButton*, bool drewNormal)>;

    explicit SkinButton(QWidget* parent = nullptr);
    ~SkinButton() override;

    // Source point and the five state pictures; clears hover and pressed.
    void setFaces(int x, int y, const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed,
                  const QPixmap* disabled, const QPixmap* checked, bool redraw = true);
    void setStateFaces(const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed, const QPixmap* disabled,
                       const QPixmap* checked, bool redraw = true);
    // Alternate mode: the face comes from `second` when `useSecond`, else from `first`, whatever the state.
    void setAlternate(const QPixmap* first, const QPixmap* second, bool on, bool useSecond, bool redraw = true);
    void setCheckedLook(bool checked, bool redraw = true);
    // Text colours are 0x00BBGGRR values in the order normal, hover, pressed, disabled, checked.
    void setTextStyle(bool on, int pointSize, const QString& face, std::uint32_t normal, std::uint32_t hover,
                      std::uint32_t pressed, std::uint32_t disabled, std::uint32_t checked,
                      unsigned format = kDtDefaultFormat);
    void setRotation(int escapement, bool rotated);
    // Frame mode draws a 2-pixel frame instead of the picture; the level is kept (capped at 100) but not drawn.
    void setFrame(std::uint32_t colour, int level, bool on);
    // A non-empty text becomes the tooltip, shown at once when the pointer enters; an empty one changes nothing.
    void setInstantToolTip(const QString& text, bool activate = true);
    void setAfterPaint(AfterPaint callback);
    // Where the picture carries an icon beside the caption (in the button's pixels); the caption keeps clear of
    // it, in a smaller font when it has to.
    void setIconRect(const QRect& rect);
    QRect iconRect() const { return m_iconRect; }
    // Where the caption is drawn now (unrotated captions); empty without a caption.
    QRect textRect() const;

    bool hasCheckedLook() const { return m_checked; }
    bool isHovered() const { return m_hover; }
    bool isAlternate() const { return m_alternate; }
    QPoint sourcePoint() const { return {m_srcX, m_srcY}; }
    QString instantToolTip() const { return m_tooltip; }
    int frameLevel() const { return m_frameLevel; }
    // The face the button paints now, by the rule: disabled, alternate, pressed, hover, checked, normal.
    Face currentFace() const;
    const QPixmap* facePixmap(Face face) const;
    QSize sizeHint() const override;

    // Draws the button's look (face, caption, focus ring) with a painter set to the button's own coordinates: its
    // paint event does, and so does a widget that draws many buttons in one paint.
    void paintInto(QPainter& painter);

    // Everything paintInto draws from: two equal looks draw the same pixels. A widget that keeps the drawn key
    // compares it to learn whether its copy is still good.
    struct Look {
        Face face = Face::None;
        const QPixmap* picture = nullptr;
        QPoint source;
        QSize size;
        QString text;
        bool textOn = false;
        int pointSize = 0;
        QString fontFace;
        QRgb textColour = 0;
        unsigned format = 0;
        int escapement = 0;
        bool rotated = false;
        bool frameOn = false;
        QRgb frameColour = 0;
        bool focusRing = false;
        QRect iconRect;
        bool visible = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    bool accessibleChecked() const override { return m_checked; }
    void accessiblePress() override { click(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void drawText(class QPainter& painter, Face face);
    // The caption's font, box and (elided when even the smallest font is too wide) text.
    struct TextLayout {
        QFont font;
        QRect box;
        QString label;
    };
    TextLayout layoutText() const;
    QColor textColour(Face face) const;

    enum { kNormal, kHover, kPressed, kDisabled, kChecked, kImageCount };
    std::array<const QPixmap*, kImageCount> m_images{};
    std::array<QColor, kImageCount> m_textColours{};
    const QPixmap* m_altFirst = nullptr;
    const QPixmap* m_altSecond = nullptr;
    bool m_alternate = false;
    bool m_useSecond = false;
    int m_srcX = 0;
    int m_srcY = 0;
    bool m_hover = false;
    bool m_checked = false;
    bool m_textOn = false;
    int m_pointSize = 8;
    QString m_fontFace = QStringLiteral("Tahoma Unicode MS");
    unsigned m_format = kDtDefaultFormat;
    int m_escapement = 0;
    bool m_rotated = false;
    bool m_frameOn = false;
    QColor m_frameColour;
    int m_frameLevel = 0;
    QString m_tooltip;
    bool m_keyboardFocus = false;
    AfterPaint m_afterPaint;
    QRect m_iconRect;
    SkinImageCache::FaceMemo m_faceMemo;
};

} // namespace ombrel
