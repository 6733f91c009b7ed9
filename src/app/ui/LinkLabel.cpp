#include "LinkLabel.h"

#include "ColorRef.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace ombrel {

namespace {

LinkLabel::Opener& LinkOpener() {
    static LinkLabel::Opener opener = [](const QString& target) {
        return QDesktopServices::openUrl(QUrl::fromUserInput(target));
    };
    return opener;
}

} // namespace

void LinkLabel::setOpener(Opener opener) {
    LinkOpener() = std::move(opener);
}

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground, true);
    restyle();
}

void LinkLabel::setColours(std::uint32_t link, std::uint32_t visited, std::uint32_t hover) {
    m_link = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    restyle();
}

void LinkLabel::setAdjustToFit(bool on) {
    m_adjustToFit = on;
    if (on) adjustSize();
}

void LinkLabel::setVisited(bool visited) {
    m_visited = visited;
    restyle();
}

void LinkLabel::restyle() {
    QPalette p = palette();
    const std::uint32_t c = m_hover ? m_hoverColour : (m_visited ? m_visitedColour : m_link);
    p.setColor(QPalette::WindowText, ColorFromRef(c));
    setPalette(p);
    QFont f = font();
    f.setUnderline(m_underlineOnHover ? (m_hover || hasFocus()) : true);
    setFont(f);
    if (m_adjustToFit) adjustSize();
}

void LinkLabel::follow() {
    const QString target = m_target.isEmpty() ? text() : m_target;
    if (target.isEmpty()) return;
    if (LinkOpener()(target)) {
        m_visited = true;
        restyle();
        emit opened(target);
    }
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
