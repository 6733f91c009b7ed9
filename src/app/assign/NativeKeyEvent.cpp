#include "NativeKeyEvent.h"

#include "keyboard/NativeKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ombrel {

KeyEvent KeyEventOf(const QKeyEvent& event) {
    KeyEvent e;
    e.key = KeyCodeOfXKeycode(event.nativeScanCode());
    e.press = event.type() == QEvent::KeyPress;
    e.autoRepeat = event.isAutoRepeat();
    e.timestampMs = event.timestamp();
    return e;
}

KeyEventTap::KeyEventTap(QWidget* window, Handler handler) : m_window(window), m_handler(std::move(handler)) {}

KeyEventTap::~KeyEventTap() {
    setActive(false);
}

void KeyEventTap::setActive(bool active) {
    if (active == m_active) return;
    m_active = active;
    if (active) {
        qApp->installEventFilter(this);
        m_window->grabKeyboard();
    } else {
        m_window->releaseKeyboard();
        qApp->removeEventFilter(this);
    }
}

void KeyEventTap::regrab() {
    if (m_active) m_window->grabKeyboard();
}

bool KeyEventTap::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts would act on the key before the window sees it: claim the key so it arrives as a key press.
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return false;
    }
    // A key event that is not kept travels on to the widget's parents; only its first stop counts.
    if (widget != QApplication::focusWidget() && widget != m_window && widget != QWidget::keyboardGrabber())
        return false;
    if (!m_handler(KeyEventOf(*key), *key)) return false;
    key->accept();
    return true;
}

} // namespace ombrel
