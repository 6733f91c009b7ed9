#include "KeyColorOverlay.h"

#include "SkinControl.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ombrel {

namespace {

constexpr int kFillBand = 64; // rows filled at a time

// The nearest coordinate at or before `v` (at or after it with `up`) that falls on a whole screen pixel. On a
// screen scaled by a fraction, a widget starting between pixels would draw its copy half a pixel off.
int OnWholePixel(int v, qreal ratio, bool up) {
    for (int k = 0; k < 8; ++k) {
        const int c = up ? v + k : v - k;
        const qreal pixel = c * ratio;
        if (std::abs(pixel - std::round(pixel)) < 1e-6) return c;
    }
    return v;
}

QRect ToPixels(const QRect& r, qreal ratio) {
    return QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect();
}

} // namespace

KeyColorOverlay::KeyColorOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("keyColorOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Opaque: the window and the keys below are not painted under it, the copy stands in for them.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    HideFromScreenReaders(this); // the keys below it are what a screen reader lists
    setGeometry(QRect());        // covers nothing until it has keys
}

void KeyColorOverlay::setKeys(std::vector<Key> keys) {
    m_keys = std::move(keys);
    std::erase_if(m_keys, [](const Key& k) { return k.slot < 0 || k.slot >= kColorSlotCount; });
    QRect area;
    for (const Key& k : m_keys)
        area |= k.rect;
    const qreal ratio = devicePixelRatio();
    const QPoint topLeft(OnWholePixel(area.left(), ratio, false), OnWholePixel(area.top(), ratio, false));
    const QPoint end(OnWholePixel(area.right() + 1, ratio, true), OnWholePixel(area.bottom() + 1, ratio, true));
    setGeometry(area.isEmpty() ? QRect() : QRect(topLeft, end - QPoint(1, 1)));
    m_below = QPixmap();
    m_watched.clear();
    update();
}

void KeyColorOverlay::showFills(const PreviewFrame& frame) {
    QRect changed;
    for (const Key& k : m_keys) {
        const auto slot = static_cast<std::size_t>(k.slot);
        if (frame[slot] != m_frame[slot]) changed |= k.rect;
    }
    m_frame = frame;
    // One rectangle around the changed keys: the window system takes one large flush far more cheaply than many
    // small ones (measured: a region of a hundred keys costs twice the time of its bounding rectangle). It is
    // grown as a rectangle: a region joined key by key took a twentieth of the preview's time.
    m_lastRepaint = changed.isEmpty() ? QRegion() : QRegion(changed);
    if (m_lastRepaint.isEmpty()) return;
    const QRect own = changed.translated(-pos());
    m_ownRepaint += own;
    update(own);
}

void KeyColorOverlay::showColors(const SlotColors& colors) {
    PreviewFrame frame{};
    for (std::size_t s = 0; s < frame.size(); ++s)
        frame[s] = {colors[s], true};
    showFills(frame);
}

void KeyColorOverlay::clearFills() {
    showFills(PreviewFrame{});
}

QRegion KeyColorOverlay::changedBelow(const QRegion& dirty) const {
    if (m_below.isNull() || m_belowRatio != devicePixelRatio()) return rect();
    // Whatever asked for this paint besides the fills: the window, a key, anything else below.
    QRegion changed = dirty - m_ownRepaint;
    // A key's look can change within the fills' repaint too, where the paint alone does not tell.
    for (const Watched& w : m_watched) {
        if (!w.button) return rect();
        const QRect now = w.button->geometry().translated(-pos());
        if (now != w.rect || w.button->look() != w.look) changed += now | w.rect;
    }
    return changed;
}

void KeyColorOverlay::drawBelow(const QRegion& area) {
    QWidget* window = parentWidget();
    const qreal ratio = devicePixelRatio();
    if (m_below.isNull() || m_belowRatio != ratio) {
        m_below = QPixmap(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
        m_belowRatio = ratio;
    }
    // Drawn into at the screen's scale, copied from in plain pixels.
    m_below.setDevicePixelRatio(ratio);
    // A pixel wider on each side: on a screen scaled by a fraction a key's edge shares its pixel with the
    // neighbour, and that pixel is drawn whole, from both.
    QRegion where;
    for (const QRect& r : area)
        where += r.adjusted(-1, -1, 1, 1);
    where = (where & rect()).translated(pos());
    m_drawingBelow = true;
    const QRect bounds = where.boundingRect();
    window->render(&m_below, bounds.topLeft() - pos(), where, QWidget::DrawWindowBackground);
    // The window's children below this widget, in their order; those above are painted over it anyway.
    m_watched.clear();
    for (QObject* o : window->children()) {
        if (o == this) break;
        auto* child = qobject_cast<QWidget*>(o);
        if (!child || child->isWindow()) continue;
        if (auto* button = qobject_cast<SkinButton*>(child); button && geometry().intersects(button->geometry()))
            m_watched.push_back({button, button->geometry().translated(-pos()), button->look()});
        if (!child->isVisible()) continue;
        const QRegion part = (where & child->geometry()).translated(-child->pos());
        if (part.isEmpty()) continue;
        child->render(&m_below, part.boundingRect().topLeft() + child->pos() - pos(), part,
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    m_below.setDevicePixelRatio(1);
    m_drawingBelow = false;
    ++m_belowDrawn;
}

void KeyColorOverlay::hideEvent(QHideEvent* event) {
    // Hidden (the window too, in the tray), the copy is memory spent on nothing, and it is drawn anew when seen.
    m_below = QPixmap();
    m_watched.clear();
    m_ownRepaint = QRegion();
    QWidget::hideEvent(event);
}

void KeyColorOverlay::paintEvent(QPaintEvent* event) {
    if (m_drawingBelow) return;
    const QRegion& dirty = event->region();
    if (const QRegion changed = changedBelow(dirty); !changed.isEmpty()) drawBelow(changed);
    m_ownRepaint = QRegion();
    QPainter painter(this);
    // In whole screen pixels from here: a plain copy of the pixels below, and fills without partly covered edges
    // (on a screen scaled by a fraction such a fill is rasterised with coverage, many times the cost of a plain
    // one, twenty times a second).
    const qreal ratio = devicePixelRatio();
    painter.scale(1 / ratio, 1 / ratio);
    for (const QRect& r : dirty) {
        const QRect pixels = ToPixels(r, ratio) & m_below.rect();
        painter.drawPixmap(pixels.topLeft(), m_below, pixels);
    }
    for (const Key& k : m_keys) {
        const PreviewFill& f = m_frame[static_cast<std::size_t>(k.slot)];
        const QRect rect = k.rect.translated(-pos());
        if (!f.on || !dirty.intersects(rect)) continue;
        const QRect pixels = QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect();
        const QColor colour(f.color.r, f.color.g, f.color.b, kFillAlpha);
        // In bands: a translucent fill of many rows is handed to worker threads, which costs more wakeups than
        // the few thousand pixels of a key are worth.
        for (int top = pixels.top(); top <= pixels.bottom(); top += kFillBand)
            painter.fillRect(QRect(pixels.left(), top, pixels.width(), std::min(kFillBand, pixels.bottom() + 1 - top)),
                             colour);
    }
}

} // namespace ombrel
