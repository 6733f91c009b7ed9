#include "SkinButton.h"

#include "SkinImageCache.h"
#include "SkinScale.h"
#include "SkinStyle.h"

#include "ColorRef.h"
#include "FocusRing.h"
#include "rules/RotatedText.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

#include <algorithm>

namespace ombrel {

namespace {

constexpr int kMaxWindowText = 260;
constexpr int kFrameLevelCap = 100;
constexpr int kIconGap = 6; // between an icon and the caption, and from the caption to the right edge

Qt::Alignment AlignmentOf(unsigned format) {
    Qt::Alignment a;
    if (format & kDtRight)
        a |= Qt::AlignRight;
    else if (format & kDtCenter)
        a |= Qt::AlignHCenter;
    else
        a |= Qt::AlignLeft;
    if (format & kDtSingleLine) {
        if (format & kDtBottom)
            a |= Qt::AlignBottom;
        else if (format & kDtVCenter)
            a |= Qt::AlignVCenter;
        else
            a |= Qt::AlignTop;
    } else {
        a |= Qt::AlignTop;
    }
    return a;
}

} // namespace

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, true);
    m_textColours.fill(QColor(Qt::black));
}

SkinButton::~SkinButton() = default;

void SkinButton::setFaces(int x, int y, const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed,
                          const QPixmap* disabled, const QPixmap* checked, bool redraw) {
    m_srcX = x;
    m_srcY = y;
    m_hover = false;
    setDown(false);
    setStateFaces(normal, hover, pressed, disabled, checked, redraw);
}

void SkinButton::setStateFaces(const QPixmap* normal, const QPixmap* hover, const QPixmap* pressed,
                               const QPixmap* disabled, const QPixmap* checked, bool redraw) {
    m_images = {normal, hover, pressed, disabled, checked};
    if (redraw) update();
}

void SkinButton::setAlternate(const QPixmap* first, const QPixmap* second, bool on, bool useSecond, bool redraw) {
    m_altFirst = first;
    m_altSecond = second;
    m_alternate = on;
    m_useSecond = useSecond;
    if (redraw) update();
}

void SkinButton::setCheckedLook(bool checked, bool redraw) {
    if (checked != m_checked) announceChecked(this, checked);
    m_checked = checked;
    if (redraw) update();
}

void SkinButton::setTextStyle(bool on, int pointSize, const QString& face, std::uint32_t normal, std::uint32_t hover,
                              std::uint32_t pressed, std::uint32_t disabled, std::uint32_t checked, unsigned format) {
    m_textOn = on;
    m_pointSize = pointSize > 0 ? pointSize : 8;
    m_fontFace = face;
    m_textColours = {ColorFromRef(normal), ColorFromRef(hover), ColorFromRef(pressed), ColorFromRef(disabled),
                     ColorFromRef(checked)};
    m_format = format;
    update();
}

void SkinButton::setRotation(int escapement, bool rotated) {
    m_escapement = escapement;
    m_rotated = rotated;
    update();
}

void SkinButton::setFrame(std::uint32_t colour, int level, bool on) {
    m_frameColour = ColorFromRef(colour);
    m_frameOn = on;
    m_frameLevel = on ? std::min(level, kFrameLevelCap) : level;
    update();
}

void SkinButton::setInstantToolTip(const QString& text, bool activate) {
    if (text.isEmpty()) return;
    m_tooltip = text;
    // The tip is shown by enterEvent at once; the widget's own tooltip serves accessibility and the help key.
    setToolTip(activate ? text : QString());
    if (activate && m_hover) QToolTip::showText(mapToGlobal(QPoint(0, height())), m_tooltip, this);
}

void SkinButton::setAfterPaint(AfterPaint callback) {
    m_afterPaint = std::move(callback);
}

void SkinButton::setIconRect(const QRect& rect) {
    m_iconRect = rect;
    update();
}

SkinButton::TextLayout SkinButton::layoutText() const {
    TextLayout t;
    t.label = text().left(kMaxWindowText);
    QStringList families = SkinFontFamilies();
    families.removeAll(m_fontFace);
    families.prepend(m_fontFace);
    t.font.setFamilies(families);
    t.font.setPointSizeF(ScaleSkinFont(m_pointSize));
    t.font.setWeight(m_rotated ? QFont::Black : QFont::Normal);
    t.box = rect();
    if (m_iconRect.isEmpty() || m_escapement != 0 || t.label.isEmpty()) return t;
    // Beside an icon the caption takes the room right of it, centred there; a caption too wide for that room
    // is set smaller, down to three quarters of its size, and then shortened.
    const int gap = ScaleSkinPixels(kIconGap);
    const int left = std::max(0, m_iconRect.right() + 1 + gap);
    t.box = QRect(left, 0, std::max(0, width() - left - gap), height());
    const qreal full = t.font.pointSizeF();
    for (qreal size = full; size >= full * 0.75; size -= 0.5) {
        t.font.setPointSizeF(size);
        if (QFontMetrics(t.font).horizontalAdvance(t.label) <= t.box.width()) return t;
    }
    t.label = QFontMetrics(t.font).elidedText(t.label, Qt::ElideRight, t.box.width());
    return t;
}

QRect SkinButton::textRect() const {
    if (!m_textOn || text().isEmpty() || m_escapement != 0) return {};
    const TextLayout t = layoutText();
    const int flags = static_cast<int>(AlignmentOf(m_format)) | ((m_format & kDtWordBreak) ? Qt::TextWordWrap : 0);
    return QFontMetrics(t.font).boundingRect(t.box, flags, t.label);
}

SkinButton::Face SkinButton::currentFace() const {
    if (!isEnabled()) return Face::Disabled;
    if (m_alternate) return Face::Alternate;
    if (isDown()) return Face::Pressed;
    if (m_hover) return Face::Hover;
    if (m_checked) return Face::Checked;
    return Face::Normal;
}

const QPixmap* SkinButton::facePixmap(Face face) const {
    switch (face) {
    case Face::Normal:
        return m_images[kNormal];
    case Face::Hover:
        return m_images[kHover];
    case Face::Pressed:
        return m_images[kPressed];
    case Face::Disabled:
        return m_images[kDisabled];
    case Face::Checked:
        return m_images[kChecked];
    case Face::Alternate:
        return m_useSecond ? m_altSecond : m_altFirst;
    case Face::None:
        break;
    }
    return nullptr;
}

QColor SkinButton::textColour(Face face) const {
    switch (face) {
    case Face::Hover:
        return m_textColours[kHover];
    case Face::Pressed:
        return m_textColours[kPressed];
    case Face::Disabled:
        return m_textColours[kDisabled];
    case Face::Checked:
        return m_textColours[kChecked];
    default:
        return m_textColours[kNormal];
    }
}

QSize SkinButton::sizeHint() const {
    return size();
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintInto(painter);
}

SkinButton::Look SkinButton::look() const {
    const Face face = currentFace();
    return {face,
            m_frameOn ? nullptr : facePixmap(face),
            QPoint(m_srcX, m_srcY),
            size(),
            m_textOn ? text() : QString(),
            m_textOn,
            m_pointSize,
            m_fontFace,
            textColour(face).rgba(),
            m_format,
            m_escapement,
            m_rotated,
            m_frameOn,
            m_frameColour.rgba(),
            m_keyboardFocus && hasFocus(),
            m_iconRect,
            isVisible()};
}

void SkinButton::paintInto(QPainter& painter) {
    const Face face = currentFace();
    if (m_frameOn) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(m_frameColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(1, 1), QPoint(width() - 2, height() - 2)));
    } else if (const QPixmap* pm = facePixmap(face)) {
        // The source point is in the layout's coordinates: scaled like the button's place. The cache turns it into
        // the picture's pixels (a 2x picture holds it at twice the position) and cuts the face.
        auto& pictures = SkinImageCache::instance();
        const double scale = SkinWindowScale();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, pictures.pixelRatio(pm) != devicePixelRatio());
        pictures.drawFace(painter, QRectF(0, 0, width(), height()), pm,
                          QRectF((m_srcX - 1) * scale, (m_srcY - 1) * scale, width(), height()), &m_faceMemo);
    }
    if (m_textOn) drawText(painter, face);
    if (m_keyboardFocus && hasFocus()) DrawFocusRing(painter, rect());
    if (m_afterPaint) m_afterPaint(this, face == Face::Normal);
}

void SkinButton::drawText(QPainter& painter, Face face) {
    const TextLayout layout = layoutText();
    const QString& label = layout.label;
    if (label.isEmpty()) return;
    const QFont& font = layout.font;
    painter.setFont(font);
    painter.setPen(textColour(face));
    const Qt::Alignment align = AlignmentOf(m_format);
    const int flags = static_cast<int>(align) | ((m_format & kDtWordBreak) ? Qt::TextWordWrap : 0);
    if (m_escapement == 0) {
        painter.drawText(layout.box, flags, label);
        return;
    }
    QRect box = rect();
    if (m_rotated) {
        const QFontMetrics fm(font);
        const TextBox placed = PlaceRotatedText({box.left(), box.top(), box.right() + 1, box.bottom() + 1},
                                                m_escapement, fm.horizontalAdvance(label), fm.height());
        box = QRect(QPoint(placed.left, placed.top), QPoint(placed.right - 1, placed.bottom - 1));
    }
    // The escapement turns the text counter-clockwise about the start of its baseline.
    painter.save();
    painter.translate(box.left(), box.bottom());
    painter.rotate(-m_escapement / 10.0);
    painter.drawText(QPoint(0, -QFontMetrics(font).descent()), label);
    painter.restore();
}

void SkinButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    if (!m_tooltip.isEmpty() && !toolTip().isEmpty())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), m_tooltip, this);
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SkinButton::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = CameFromKeyboard(event);
    QAbstractButton::focusInEvent(event);
}

void SkinButton::focusOutEvent(QFocusEvent* event) {
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    // Space clicks on release, as on every button; Enter clicks at once, as a keyboard user expects of a button
    // that has the focus.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace ombrel
