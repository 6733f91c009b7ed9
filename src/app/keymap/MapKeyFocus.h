#pragma once
// The keyboard focus on the map's keys. The map is one stop of the window's tab order: only its current key takes
// Tab, so Tab goes past the hundred keys at once, and the arrow keys move between the keys as they lie on the
// keyboard. Space or Enter on a key acts as its click.

#include "SkinButton.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace ombrel {

class MapKeyFocus : public QObject {
    Q_OBJECT
public:
    explicit MapKeyFocus(QObject* parent);

    // Keys are added in reading order; the first enabled one is the map's tab stop until another gets the focus.
    void addKey(SkinButton* key);
    // The key Tab enters the map at.
    SkinButton* current() const { return m_current; }
    // The nearest enabled, shown key from `from` in the direction of an arrow key (Qt::Key_Left ... Qt::Key_Down);
    // null when there is none that way.
    SkinButton* neighbour(const SkinButton* from, int arrowKey) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeCurrent(SkinButton* key);
    // After a key was switched off or hidden: the tab stop moves to a key that can take it.
    void keepStopUsable();

    QList<SkinButton*> m_keys;
    QPointer<SkinButton> m_current;
};

} // namespace ombrel
