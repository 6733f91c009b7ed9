#include "LinkLabel.h"

#include "ColorRef.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ombrel {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground, true);
    restyle();
}

void LinkLabel::restyle() {
    QPalette p = palette();
    const std::uint32_t c = m_hover ? m_hoverColour : (m_visited ? m_visitedColour : m_link);
    p.setColor(QPalette::WindowText, ColorFromRef(c));
    setPalette(p);
    QFont f = font();
    f.setUnderline(m_hover || hasFocus());
    setFont(f);
    adjustSize();
}

void LinkLabel::follow() {
    const QString target = m_target.isEmpty() ? text() : m_target;
    if (target.isEmpty()) return;
    m_visited = true;
    restyle();
    // The owner opens it, so that the way it is opened (and its test double) is the program's one.
    emit linkActivated(target);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    m_hover = true;
    restyle();
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    m_hover = false;
    restyle();
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) follow();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        follow();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
    restyle();
    QLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
    restyle();
    QLabel::focusOutEvent(event);
}

} // namespace ombrel
