#pragma once
// Watches hidraw nodes come and go through a udev monitor on its own thread. The thread sleeps in poll on the
// monitor's socket and an eventfd that stop() signals; it runs the handler once per batch of events, with the
// nodes the batch removed.

#include <functional>
#include <string>
#include <thread>
#include <vector>

struct udev;
struct udev_monitor;

namespace ombrel::hid {

class UdevMonitor {
public:
    using Handler = std::function<void()>;
    using ChangeHandler = std::function<void(const std::vector<std::string>& removedNodes)>;

    UdevMonitor() = default;
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // False when no monitor can be had here (no netlink, no udev); the caller then has no hot-plug events.
    // `onLost` runs on the monitor's thread if the monitor fails later.
    bool start(ChangeHandler onChange, Handler onLost);
    void stop();

private:
    void run();
    void release();

    ChangeHandler m_onChange;
    Handler m_onLost;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_wakeFd = -1;
    std::thread m_thread;
};

} // namespace ombrel::hid
