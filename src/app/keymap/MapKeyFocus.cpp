#include "MapKeyFocus.h"

#include "SkinButton.h"

#include <QEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace ombrel {

namespace {

// A key off the line of travel counts this much more than one along it, so Right stays on the row it is on.
constexpr int kSidewaysWeight = 3;

bool Usable(const SkinButton* key) {
    return key->isEnabled() && !key->isHidden();
}

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

MapKeyFocus::MapKeyFocus(QObject* parent) : QObject(parent) {}

void MapKeyFocus::addKey(SkinButton* key) {
    m_keys << key;
    key->installEventFilter(this);
    key->setFocusPolicy(Qt::ClickFocus);
    if (!m_current && Usable(key)) makeCurrent(key);
}

void MapKeyFocus::makeCurrent(SkinButton* key) {
    if (m_current == key) return;
    if (m_current) m_current->setFocusPolicy(Qt::ClickFocus);
    m_current = key;
    if (key) key->setFocusPolicy(Qt::StrongFocus);
}

void MapKeyFocus::keepStopUsable() {
    if (const SkinButton* current = m_current.data(); current && Usable(current)) return;
    for (SkinButton* key : m_keys)
        if (Usable(key)) return makeCurrent(key);
}

SkinButton* MapKeyFocus::neighbour(const SkinButton* from, int arrowKey) const {
    if (!IsArrow(arrowKey)) return nullptr;
    const bool horizontal = arrowKey == Qt::Key_Left || arrowKey == Qt::Key_Right;
    const QPoint origin = from->geometry().center();
    struct Candidate {
        SkinButton* key;
        int along;    // how far in the arrow's direction
        int sideways; // how far off its line
        int offset;   // the same, signed: a key between two below goes to the right one, as on the keycaps
    };
    std::vector<Candidate> ahead;
    for (SkinButton* key : m_keys) {
        if (key == from || !Usable(key)) continue;
        const QPoint d = key->geometry().center() - origin;
        const int along = arrowKey == Qt::Key_Left    ? -d.x()
                          : arrowKey == Qt::Key_Right ? d.x()
                          : arrowKey == Qt::Key_Up    ? -d.y()
                                                      : d.y();
        const int offset = horizontal ? d.y() : d.x();
        if (along > 0) ahead.push_back({key, along, std::abs(offset), offset});
    }
    if (!horizontal) {
        // Up and down look ahead within a cone, so a key far to the side (the G keys) is not the next row.
        const int reach = from->width();
        std::vector<Candidate> cone;
        std::copy_if(ahead.begin(), ahead.end(), std::back_inserter(cone),
                     [reach](const Candidate& c) { return c.sideways <= c.along + reach; });
        if (!cone.empty()) ahead.swap(cone);
    }
    if (ahead.empty()) return nullptr;
    const auto nearest = [&ahead](auto better) { return std::min_element(ahead.begin(), ahead.end(), better)->key; };
    if (horizontal) {
        // Along the row the key lies on; past its end, to the nearest key ahead that lies close to the row.
        const bool rowGoesOn = std::any_of(ahead.begin(), ahead.end(),
                                           [&](const Candidate& c) { return c.sideways <= from->height() / 2; });
        if (rowGoesOn)
            return nearest([&](const Candidate& a, const Candidate& b) {
                const bool aInRow = a.sideways <= from->height() / 2, bInRow = b.sideways <= from->height() / 2;
                return aInRow != bInRow ? aInRow : a.along < b.along;
            });
    } else {
        // Up and down go to the next row, to its key that lies closest above or below.
        const int nextRow = std::min_element(ahead.begin(), ahead.end(), [](const Candidate& a, const Candidate& b) {
                                return a.along < b.along;
                            })->along;
        const int rowDepth = from->height() / 2;
        return nearest([&](const Candidate& a, const Candidate& b) {
            const bool aInRow = a.along <= nextRow + rowDepth, bInRow = b.along <= nextRow + rowDepth;
            if (aInRow != bInRow) return aInRow;
            return a.sideways != b.sideways ? a.sideways < b.sideways : a.offset > b.offset;
        });
    }
    return nearest([](const Candidate& a, const Candidate& b) {
        return a.along + kSidewaysWeight * a.sideways < b.along + kSidewaysWeight * b.sideways;
    });
}

bool MapKeyFocus::eventFilter(QObject* watched, QEvent* event) {
    auto* key = static_cast<SkinButton*>(watched);
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
        if (SkinButton* next = neighbour(key, press->key())) next->setFocus(Qt::TabFocusReason);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ombrel
