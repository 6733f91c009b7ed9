#include "UiDispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace ombrel {

namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class CallEvent : public QEvent {
public:
    explicit CallEvent(std::shared_ptr<void> call) : QEvent(kCallEvent), m_call(std::move(call)) {}
    std::shared_ptr<void> m_call;
};

} // namespace

UiDispatcher::UiDispatcher(QObject* parent) : QObject(parent) {}

UiDispatcher::~UiDispatcher() {
    makeInert();
}

void UiDispatcher::send(std::function<void()> fn, Kind kind) {
    if (m_inert) return;
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    call->kind = kind;
    if (QThread::currentThread() == thread()) {
        run(call);
        return;
    }
    enqueue(call);
    std::unique_lock lock(m_mutex);
    m_doneChanged.wait(lock, [&] { return call->done || m_inert.load(); });
}

void UiDispatcher::post(std::function<void()> fn, Kind kind) {
    if (m_inert) return;
    auto call = std::make_shared<Call>();
    call->fn = std::move(fn);
    call->kind = kind;
    enqueue(call);
}

void UiDispatcher::enqueue(std::shared_ptr<Call> call) {
    QCoreApplication::postEvent(this, new CallEvent(std::move(call)));
}

bool UiDispatcher::event(QEvent* event) {
    if (event->type() != kCallEvent) return QObject::event(event);
    run(std::static_pointer_cast<Call>(static_cast<CallEvent*>(event)->m_call));
    return true;
}

void UiDispatcher::run(const std::shared_ptr<Call>& call) {
    if (m_inert) {
        finish(call);
        return;
    }
    if (call->kind == Kind::StoreBound && m_hold) {
        m_held.push_back(call);
        return;
    }
    call->fn();
    finish(call);
}

void UiDispatcher::finish(const std::shared_ptr<Call>& call) {
    {
        std::lock_guard lock(m_mutex);
        call->done = true;
    }
    m_doneChanged.notify_all();
}

void UiDispatcher::holdStoreBound(bool hold) {
    m_hold = hold;
    while (!m_hold && !m_held.empty()) {
        auto call = m_held.front();
        m_held.pop_front();
        run(call);
    }
}

void UiDispatcher::makeInert() {
    {
        std::lock_guard lock(m_mutex);
        m_inert = true;
    }
    m_doneChanged.notify_all();
    m_held.clear();
}

} // namespace ombrel
