#include "CHyperLink.h"

#include "ColorRef.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace ombrel {

namespace {

CHyperLink::Opener& LinkOpener() {
    static CHyperLink::Opener opener = [](const QString& target) {
        return QDesktopServices::openUrl(QUrl::fromUserInput(target));
    };
    return opener;
}

} // namespace

void CHyperLink::setOpener(Opener opener) {
    LinkOpener() = std::move(opener);
}

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground, true);
    restyle();
}

void CHyperLink::SetColours(std::uint32_t link, std::uint32_t visited, std::uint32_t hover) {
    m_link = link;
    m_visitedColour = visited;
    m_hoverColour = hover;
    restyle();
}

void CHyperLink::SetAdjustToFit(bool on) {
    m_adjustToFit = on;
    if (on) adjustSize();
}

void CHyperLink::SetVisited(bool visited) {
    m_visited = visited;
    restyle();
}

void CHyperLink::restyle() {
    QPalette p = palette();
    const std::uint32_t c = m_hover ? m_hoverColour : (m_visited ? m_visitedColour : m_link);
    p.setColor(QPalette::WindowText, ColorFromRef(c));
    setPalette(p);
    QFont f = font();
    f.setUnderline(m_underlineOnHover ? (m_hover || hasFocus()) : true);
    setFont(f);
    if (m_adjustToFit) adjustSize();
}

void CHyperLink::follow() {
    const QString target = m_target.isEmpty() ? text() : m_target;
    if (target.isEmpty()) return;
    if (LinkOpener()(target)) {
        m_visited = true;
        restyle();
        emit opened(target);
    }
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    m_hover = true;
    restyle();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    m_hover = false;
    restyle();
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) follow();
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        follow();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
    restyle();
    QLabel::focusInEvent(event);
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
    restyle();
    QLabel::focusOutEvent(event);
}

} // namespace ombrel
