#include "NotificationLog.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace ombrel::hid::test {

namespace {
std::atomic<NotificationLog*> g_live{nullptr};
} // namespace

NotificationLog::NotificationLog() {
    g_live.store(this);
}

NotificationLog::~NotificationLog() {
    g_live.store(nullptr);
}

std::int32_t NotificationLog::callback(void* record) {
    NotificationLog* log = g_live.load();
    if (log) log->add(*static_cast<VevNotifyRecord*>(record));
    return 1;
}

void NotificationLog::setHook(std::function<void(VevNotifyRecord&)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

std::vector<Notification> NotificationLog::all() const {
    std::lock_guard lock(m_mutex);
    return m_entries;
}

std::vector<Notification> NotificationLog::ofKind(std::uint32_t kind) const {
    std::vector<Notification> found;
    for (const Notification& n : all()) {
        if (n.kind == kind) found.push_back(n);
    }
    return found;
}

bool NotificationLog::waitFor(std::uint32_t kind, std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_added.wait_for(lock, timeout, [&] {
        std::size_t seen = 0;
        for (const Notification& n : m_entries)
            seen += n.kind == kind ? 1 : 0;
        return seen >= count;
    });
}

void NotificationLog::add(VevNotifyRecord& record) {
    Notification n;
    n.kind = record.kind;
    const VevRequestRecord* request = record.request;
    n.tag = request->tag;
    n.length = request->length;
    if (record.kind == VEV_NOTIFY_DATA) {
        n.data.assign(request->data, request->data + request->length);
        const std::uint8_t* consumer = nullptr;
        std::memcpy(&consumer, request->report->consumerReport, sizeof consumer);
        n.consumer.assign(consumer, consumer + request->report->consumerLength);
    }
    std::function<void(VevNotifyRecord&)> hook;
    {
        std::lock_guard lock(m_mutex);
        hook = m_hook;
    }
    if (hook) hook(record);
    std::lock_guard lock(m_mutex);
    m_entries.push_back(std::move(n));
    m_added.notify_all();
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace ombrel::hid::test
