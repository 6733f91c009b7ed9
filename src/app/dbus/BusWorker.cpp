#include "BusWorker.h"

namespace ombrel {

BusWorker::BusWorker() : m_thread([this] { loop(); }) {}

BusWorker::~BusWorker() {
    stop();
}

void BusWorker::post(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping) return;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void BusWorker::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void BusWorker::loop() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

} // namespace ombrel
