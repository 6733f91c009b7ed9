#include "device/SerialWorker.h"

namespace ombrel {

void SerialWorker::post(std::function<void()> task) {
    std::lock_guard lock(m_mutex);
    if (m_stop) return;
    m_tasks.push_back(std::move(task));
    if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    m_changed.notify_all();
}

void SerialWorker::drain() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_tasks.empty() && !m_running; });
}

void SerialWorker::stop() {
    std::thread thread;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
        thread = std::move(m_thread);
    }
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
    else if (thread.joinable())
        thread.detach();
}

bool SerialWorker::stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

void SerialWorker::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_tasks.empty(); });
        if (m_tasks.empty()) return; // stopping and nothing left
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        m_running = true;
        lock.unlock();
        task();
        lock.lock();
        m_running = false;
        m_changed.notify_all();
    }
}

} // namespace ombrel
