#include "SkinSlider.h"

#include "FocusRing.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace ombrel {

namespace {

SliderKey SliderKeyOf(int key) {
    switch (key) {
    case Qt::Key_PageUp:
        return SliderKey::PageUp;
    case Qt::Key_PageDown:
        return SliderKey::PageDown;
    case Qt::Key_End:
        return SliderKey::End;
    case Qt::Key_Home:
        return SliderKey::Home;
    case Qt::Key_Right:
        return SliderKey::Right;
    case Qt::Key_Down:
        return SliderKey::Down;
    case Qt::Key_Left:
        return SliderKey::Left;
    case Qt::Key_Up:
        return SliderKey::Up;
    default:
        return SliderKey::Other;
    }
}

} // namespace

SkinSlider::SkinSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
}

void SkinSlider::setRange(int min, int max) {
    m_range.min = min;
    m_range.max = max;
    m_pos = ClampSliderPos(m_range, m_pos);
    update();
}

void SkinSlider::setPageStep(int page) {
    m_range.page = page;
}

void SkinSlider::setPosition(int pos) {
    const int old = m_pos;
    m_pos = ClampSliderPos(m_range, pos);
    update();
    if (m_pos != old && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_pos);
        QAccessible::updateAccessibility(&event);
    }
}

void SkinSlider::moveByUser(int pos) {
    if (m_enabled) moveTo(pos);
}

void SkinSlider::setPicture(const QPixmap& picture) {
    m_picture = picture;
    if (!picture.isNull()) resize(picture.deviceIndependentSize().toSize());
    update();
}

void SkinSlider::setSliderEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled) {
        m_dragging = false;
        m_active = false;
    }
    update();
}

void SkinSlider::notify() {
    emit positionChanged(m_pos);
}

void SkinSlider::moveTo(int pos) {
    setPosition(pos);
    notify();
}

void SkinSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, m_picture.devicePixelRatio() != devicePixelRatio());
        painter.drawPixmap(rect(), m_picture, m_picture.rect());
    }
    if (m_active || (m_keyboardFocus && hasFocus())) DrawFocusRing(painter, rect());
}

void SkinSlider::mousePressEvent(QMouseEvent* event) {
    if (!m_enabled || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    grabMouse();
    m_dragging = true;
    m_active = true;
    const int x = static_cast<int>(event->position().x());
    if (x != SliderPixelOfPos(m_range, m_pos, width())) moveTo(SliderPosOfPixel(m_range, x, width()));
    update();
}

void SkinSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_enabled || !m_dragging) return QWidget::mouseMoveEvent(event);
    const int x = static_cast<int>(event->position().x());
    if (x != SliderPixelOfPos(m_range, m_pos, width())) {
        const int next = SliderPosOfPixel(m_range, x, width());
        if (next != m_pos) moveTo(next);
    }
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_enabled || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    releaseMouse();
    m_dragging = false;
    notify();
}

void SkinSlider::leaveEvent(QEvent* event) {
    if (!m_dragging) {
        m_active = false;
        update();
    }
    QWidget::leaveEvent(event);
}

void SkinSlider::keyPressEvent(QKeyEvent* event) {
    const SliderKey key = SliderKeyOf(event->key());
    if (!m_enabled || key == SliderKey::Other) return QWidget::keyPressEvent(event);
    moveTo(SliderPosAfterKey(m_range, m_pos, key));
    event->accept();
}

void SkinSlider::wheelEvent(QWheelEvent* event) {
    if (!m_enabled || !m_active) return QWidget::wheelEvent(event);
    const int steps = SliderWheelSteps(m_wheelAccumulator, event->angleDelta().y());
    if (steps != 0) moveTo(m_pos + steps);
    event->accept();
}

void SkinSlider::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = CameFromKeyboard(event);
    update();
    QWidget::focusInEvent(event);
}

void SkinSlider::focusOutEvent(QFocusEvent* event) {
    m_keyboardFocus = false;
    update();
    QWidget::focusOutEvent(event);
}

} // namespace ombrel
