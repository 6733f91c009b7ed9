#include "MapKeyFocus.h"

#include "CPngButton.h"

#include <QEvent>
#include <QKeyEvent>

#include <cstdlib>
#include <limits>

namespace ombrel {

namespace {

// A key off the line of travel counts this much more than one along it, so Right stays on the row it is on.
constexpr int kSidewaysWeight = 3;

bool Usable(const CPngButton* key) {
    return key->isEnabled() && !key->isHidden();
}

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

MapKeyFocus::MapKeyFocus(QObject* parent) : QObject(parent) {}

void MapKeyFocus::addKey(CPngButton* key) {
    m_keys << key;
    key->installEventFilter(this);
    key->setFocusPolicy(Qt::ClickFocus);
    if (!m_current && Usable(key)) makeCurrent(key);
}

void MapKeyFocus::makeCurrent(CPngButton* key) {
    if (m_current == key) return;
    if (m_current) m_current->setFocusPolicy(Qt::ClickFocus);
    m_current = key;
    if (key) key->setFocusPolicy(Qt::StrongFocus);
}

void MapKeyFocus::keepStopUsable() {
    if (m_current && Usable(m_current)) return;
    for (CPngButton* key : m_keys)
        if (Usable(key)) return makeCurrent(key);
}

CPngButton* MapKeyFocus::neighbour(const CPngButton* from, int arrowKey) const {
    const QPoint origin = from->geometry().center();
    CPngButton* best = nullptr;
    long bestScore = std::numeric_limits<long>::max();
    for (CPngButton* key : m_keys) {
        if (key == from || !Usable(key)) continue;
        const QPoint d = key->geometry().center() - origin;
        int along = 0, sideways = 0;
        switch (arrowKey) {
        case Qt::Key_Left:
            along = -d.x(), sideways = d.y();
            break;
        case Qt::Key_Right:
            along = d.x(), sideways = d.y();
            break;
        case Qt::Key_Up:
            along = -d.y(), sideways = d.x();
            break;
        case Qt::Key_Down:
            along = d.y(), sideways = d.x();
            break;
        default:
            return nullptr;
        }
        if (along <= 0) continue;
        const long score = along + kSidewaysWeight * static_cast<long>(std::abs(sideways));
        if (score < bestScore) bestScore = score, best = key;
    }
    return best;
}

bool MapKeyFocus::eventFilter(QObject* watched, QEvent* event) {
    auto* key = static_cast<CPngButton*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        makeCurrent(key);
        break;
    case QEvent::EnabledChange:
    case QEvent::HideToParent:
        if (key == m_current) keepStopUsable();
        break;
    case QEvent::KeyPress: {
        const auto* press = static_cast<QKeyEvent*>(event);
        if (!IsArrow(press->key())) break;
        // An arrow never leaves the map: at its edge the focus stays where it is.
        if (CPngButton* next = neighbour(key, press->key())) next->setFocus(Qt::TabFocusReason);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ombrel
