#include "ClickablePicture.h"

#include "FocusRing.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ombrel {

ClickablePicture::ClickablePicture(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void ClickablePicture::showPicture(const QPixmap* picture) {
    if (picture)
        setPixmap(*picture);
    else
        clear();
}

void ClickablePicture::setChecked(bool checked) {
    if (checked == m_checked) return;
    m_checked = checked;
    announceChecked(this, checked);
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickablePicture::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickablePicture::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus() || !m_keyboardFocus) return;
    // A keyboard user sees where the focus is.
    QPainter painter(this);
    DrawFocusRing(painter, rect());
}

void ClickablePicture::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = CameFromKeyboard(event);
    QLabel::focusInEvent(event);
    update();
}

void ClickablePicture::focusOutEvent(QFocusEvent* event) {
    m_keyboardFocus = false;
    QLabel::focusOutEvent(event);
    update();
}

} // namespace ombrel
