#pragma once
// One thread that does the bus clients' keyboard work in arrival order, so neither the window's thread nor the
// bus connection's thread ever waits for the keyboard.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace ombrel {

class BusWorker {
public:
    BusWorker();
    ~BusWorker(); // finishes the job in hand, drops the rest
    BusWorker(const BusWorker&) = delete;
    BusWorker& operator=(const BusWorker&) = delete;

    void post(std::function<void()> job);
    void stop();

private:
    void loop();

    std::mutex m_mutex; // guards m_jobs and m_stopping
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace ombrel
