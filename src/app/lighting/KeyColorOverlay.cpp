#include "KeyColorOverlay.h"

#include "SkinControl.h"

#include <QPaintEvent>
#include <QPainter>

namespace ombrel {

KeyColorOverlay::KeyColorOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("keyColorOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    HideFromScreenReaders(this); // the keys below it are what a screen reader lists
    if (parent) setGeometry(parent->rect());
}

void KeyColorOverlay::setKeys(std::vector<Key> keys) {
    m_keys = std::move(keys);
    std::erase_if(m_keys, [](const Key& k) { return k.slot < 0 || k.slot >= kColorSlotCount; });
    update();
}

void KeyColorOverlay::showFills(const PreviewFrame& frame) {
    QRegion changed;
    for (const Key& k : m_keys) {
        const auto slot = static_cast<std::size_t>(k.slot);
        if (frame[slot] != m_frame[slot]) changed += k.rect;
    }
    m_frame = frame;
    // One rectangle around the changed keys: the window system takes one large flush far more cheaply than many
    // small ones (measured: a region of a hundred keys costs twice the time of its bounding rectangle).
    m_lastRepaint = changed.isEmpty() ? QRegion() : QRegion(changed.boundingRect());
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
    QPainter painter(this);
    const QRegion& dirty = event->region();
    for (const Key& k : m_keys) {
        const PreviewFill& f = m_frame[static_cast<std::size_t>(k.slot)];
        if (!f.on || !dirty.intersects(k.rect)) continue;
        painter.fillRect(k.rect, QColor(f.color.r, f.color.g, f.color.b, kFillAlpha));
    }
}

} // namespace ombrel
