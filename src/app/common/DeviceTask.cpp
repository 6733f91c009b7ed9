#include "DeviceTask.h"

#include "UiDispatcher.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <thread>

namespace ombrel {

namespace {

bool g_running = false; // UI thread only

// Swallows user input aimed at the window (or anything inside it) while a task runs.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget* window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut: {
            auto* widget = qobject_cast<QWidget*>(watched);
            return widget && m_window && (widget == m_window || m_window->isAncestorOf(widget));
        }
        default:
            return false;
        }
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

bool DeviceTask::running() {
    return g_running;
}

int DeviceTask::run(UiDispatcher& dispatcher, QWidget* window, const std::function<int()>& work, int busyResult) {
    if (g_running) return busyResult;
    g_running = true;
    dispatcher.holdStoreBound(true);
    InputBlocker blocker(window);
    qApp->installEventFilter(&blocker);

    QEventLoop loop;
    int result = busyResult;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    qApp->removeEventFilter(&blocker);
    g_running = false;
    dispatcher.holdStoreBound(false);
    return result;
}

} // namespace ombrel
