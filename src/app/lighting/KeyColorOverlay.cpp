#include "KeyColorOverlay.h"

#include "SkinButton.h"
#include "SkinControl.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace ombrel {

namespace {
constexpr int kFillBand = 64; // rows filled at a time
} // namespace

KeyColorOverlay::KeyColorOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("keyColorOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    HideFromScreenReaders(this); // the keys below it are what a screen reader lists
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
}

bool KeyColorOverlay::eventFilter(QObject* watched, QEvent* event) {
    // The window is about to paint: the keys in the painted area are passed by (a widget whose updates are off is
    // not painted), and this widget, painted after them, draws their faces. Their own update() calls stay on
    // outside the paint, so a hover or a focus change still repaints the area, here.
    if (event->type() == QEvent::Paint && watched == parentWidget() && isVisible()) {
        releaseKeys();
        const QRegion& area = static_cast<QPaintEvent*>(event)->region();
        for (const Key& k : m_keys) {
            if (!k.button || !k.button->isVisible() || !k.button->updatesEnabled()) continue;
            if (!area.intersects(k.button->geometry())) continue;
            k.button->setAttribute(Qt::WA_UpdatesDisabled, true);
            m_held.push_back(k.button);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KeyColorOverlay::releaseKeys() {
    for (SkinButton* b : m_held)
        b->setAttribute(Qt::WA_UpdatesDisabled, false);
    m_held.clear();
}

void KeyColorOverlay::setKeys(std::vector<Key> keys) {
    m_keys = std::move(keys);
    std::erase_if(m_keys, [](const Key& k) { return k.slot < 0 || k.slot >= kColorSlotCount; });
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
    if (!m_lastRepaint.isEmpty()) update(m_lastRepaint);
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

void KeyColorOverlay::paintEvent(QPaintEvent* event) {
    // Released first: a face drawn below may ask for its neighbours to be repainted.
    const std::vector<SkinButton*> held = std::move(m_held);
    m_held.clear();
    for (SkinButton* b : held)
        b->setAttribute(Qt::WA_UpdatesDisabled, false);
    QPainter painter(this);
    const QRegion& dirty = event->region();
    for (SkinButton* b : held) {
        const QPoint at = b->mapTo(parentWidget(), QPoint()) - pos();
        painter.translate(at);
        b->paintInto(painter);
        painter.translate(-at);
    }
    // Filled in whole screen pixels: on a screen scaled by a fraction a key's edges fall between pixels, and such
    // a fill is rasterised with coverage, many times the cost of a plain one, twenty times a second.
    const qreal ratio = devicePixelRatio();
    painter.scale(1 / ratio, 1 / ratio);
    for (const Key& k : m_keys) {
        const PreviewFill& f = m_frame[static_cast<std::size_t>(k.slot)];
        if (!f.on || !dirty.intersects(k.rect)) continue;
        const QRect pixels = QRectF(QPointF(k.rect.topLeft()) * ratio, QSizeF(k.rect.size()) * ratio).toRect();
        const QColor colour(f.color.r, f.color.g, f.color.b, kFillAlpha);
        // In bands: a translucent fill of many rows is handed to worker threads, which costs more wakeups than
        // the few thousand pixels of a key are worth.
        for (int top = pixels.top(); top <= pixels.bottom(); top += kFillBand)
            painter.fillRect(QRect(pixels.left(), top, pixels.width(), std::min(kFillBand, pixels.bottom() + 1 - top)),
                             colour);
    }
}

} // namespace ombrel
