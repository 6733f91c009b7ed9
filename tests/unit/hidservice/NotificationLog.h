#pragma once
// Records what the service delivers to the program's callback, copied while the records are valid.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "VevIroz.h"

namespace ombrel::hid::test {

struct Notification {
    std::uint32_t kind = 0;
    std::uint32_t tag = 0;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> consumer;
};

class NotificationLog {
public:
    NotificationLog();
    ~NotificationLog();

    // The callback to register; it logs into the live log and then runs its hook.
    static std::int32_t callback(void* record);

    // Runs inside the callback before the notification is logged, so a wait sees it only once the hook is done.
    void setHook(std::function<void(VevNotifyRecord&)> hook);
    std::vector<Notification> all() const;
    std::vector<Notification> ofKind(std::uint32_t kind) const;
    // Waits until `count` notifications of the kind were logged; false after `timeout`.
    bool waitFor(std::uint32_t kind, std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    void add(VevNotifyRecord& record);

    mutable std::mutex m_mutex; // guards m_entries and m_hook
    std::condition_variable m_added;
    std::vector<Notification> m_entries;
    std::function<void(VevNotifyRecord&)> m_hook;
};

// Polls `condition` until it holds; false after `timeout`.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace ombrel::hid::test
