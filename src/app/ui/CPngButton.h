#pragma once
// The image button nearly every clickable element of the skinned dialogs is made of. Its face for each state is cut
// out of a whole-dialog picture at the button's own position, so a dialog's pictures show every button in one state.

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

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

class CPngButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Face { None, Normal, Hover, Pressed, Disabled, Checked, Alternate };
    using AfterPaint = std::function<void(CPngButton*, bool drewNormal)>;

    explicit CPngButton(QWidget* parent = nullptr);
    ~CPngButton() override;

    // Source point and the five state pictures; clears hover and pressed.
    void SetImages(int x, int y, const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed,
                   const QPixmap* disabled, const QPixmap* checked, bool redraw = true);
    void SetStateImages(const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed, const QPixmap* disabled,
                        const QPixmap* checked, bool redraw = true);
    // Alternate mode: the face comes from `second` when `useSecond`, else from `first`, whatever the state.
    void SetAlternate(const QPixmap* first, const QPixmap* second, bool on, bool useSecond, bool redraw = true);
    void SetChecked(bool checked, bool redraw = true);
    // Text colours are 0x00BBGGRR values in the order normal, hover, pressed, disabled, checked.
    void SetTextStyle(bool on, int pointSize, const QString& face, std::uint32_t normal, std::uint32_t hover,
                      std::uint32_t pressed, std::uint32_t disabled, std::uint32_t checked,
                      unsigned format = kDtDefaultFormat);
    void SetRotation(int escapement, bool rotated);
    // Frame mode draws a 2-pixel frame instead of the picture; the level is kept (capped at 100) but not drawn.
    void SetFrame(std::uint32_t colour, int level, bool on);
    // A non-empty text becomes the tooltip, shown at once when the pointer enters; an empty one changes nothing.
    void SetTooltip(const QString& text, bool activate = true);
    void SetAfterPaint(AfterPaint callback);

    bool IsChecked() const { return m_checked; }
    bool IsHover() const { return m_hover; }
    bool IsAlternate() const { return m_alternate; }
    QPoint SourcePoint() const { return {m_srcX, m_srcY}; }
    QString Tooltip() const { return m_tooltip; }
    int FrameLevel() const { return m_frameLevel; }
    // The face the button paints now, by the rule: disabled, alternate, pressed, hover, checked, normal.
    Face CurrentFace() const;
    const QPixmap* FacePixmap(Face face) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void drawText(class QPainter& painter, Face face);
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
};

} // namespace ombrel
