#pragma once
// A thread that runs posted tasks one after the other, in the order they were posted. Work that must not run
// on the service library's threads (it may block) is handed to one of these.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace ombrel {

class SerialWorker {
public:
    SerialWorker() = default;
    ~SerialWorker() { stop(); }
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Queues a task; the thread starts with the first one. Ignored after stop().
    void post(std::function<void()> task);
    // Waits until every task posted so far has run.
    void drain();
    // Runs what is queued, then ends the thread. Idempotent.
    void stop();
    bool stopping() const;

private:
    void run();

    mutable std::mutex m_mutex; // guards everything below
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_tasks;
    bool m_running = false; // a task is executing
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace ombrel
