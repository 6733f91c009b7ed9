#pragma once
// Runs work of other threads on the UI thread. A "sent" call waits until the UI thread has run it. Two things
// keep that from ever hanging:
//  - `makeInert()` (called before the device link shuts down) wakes every waiting sender and makes later sends
//    return at once, so a worker blocked in a send cannot hold up the UI thread that is joining it;
//  - calls that touch the key stores are held back while a device task owns the stores (see DeviceTask), and run
//    when it ends, so the UI thread never waits for a lock that the task holds.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ombrel {

class UiDispatcher : public QObject {
public:
    enum class Kind {
        Immediate,  // runs as soon as the UI thread gets to it, even during a device task
        StoreBound, // touches the key stores: waits for a running device task to end
    };

    explicit UiDispatcher(QObject* parent = nullptr);
    ~UiDispatcher() override;

    // Runs `fn` on the UI thread and returns when it has run (or the dispatcher became inert). Called on the UI
    // thread itself, it runs `fn` at once (a StoreBound call during a device task is queued and not waited for).
    void send(std::function<void()> fn, Kind kind = Kind::Immediate);
    // Queues `fn` for the UI thread and returns at once.
    void post(std::function<void()> fn, Kind kind = Kind::Immediate);

    // While held, StoreBound calls wait; releasing runs them in arrival order.
    void holdStoreBound(bool hold);
    bool holdingStoreBound() const { return m_hold; }

    void makeInert();
    bool inert() const { return m_inert.load(); }

protected:
    bool event(QEvent* event) override;

private:
    struct Call {
        std::function<void()> fn;
        Kind kind = Kind::Immediate;
        bool done = false; // guarded by m_mutex
    };
    void run(const std::shared_ptr<Call>& call);
    void finish(const std::shared_ptr<Call>& call);
    void enqueue(std::shared_ptr<Call> call);

    std::atomic<bool> m_inert{false};
    bool m_hold = false;                      // UI thread only
    std::deque<std::shared_ptr<Call>> m_held; // UI thread only
    std::mutex m_mutex;                       // guards Call::done
    std::condition_variable m_doneChanged;
};

} // namespace ombrel
