#pragma once
// Key events of the window system as key capture and macro recording take them: the key from the event's native
// scan code (the X key code, which Wayland compositors report the same way), never from the symbol the layout
// makes of it, so a key is the same key on every layout.

#include "assign/KeyEvent.h"

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

namespace ombrel {

KeyEvent KeyEventOf(const QKeyEvent& event);

// While active, every key event meant for `window` is handed to `handler` before any widget sees it, and the
// keyboard is grabbed so that keys the desktop normally takes (Super, Print, Alt+Tab) reach the window too.
// The handler returns true to keep the event from the window and the desktop.
class KeyEventTap : public QObject {
public:
    using Handler = std::function<bool(const KeyEvent&, QKeyEvent&)>;

    KeyEventTap(QWidget* window, Handler handler);
    ~KeyEventTap() override;

    void setActive(bool active);
    bool active() const { return m_active; }
    // Takes the keyboard again: a grab asked for before the window was on the screen may not have taken.
    void regrab();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Handler m_handler;
    bool m_active = false;
};

} // namespace ombrel
