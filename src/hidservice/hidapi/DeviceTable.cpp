#include "DeviceTable.h"

#include <set>

namespace ombrel::hid {

std::uint64_t DeviceTable::replace(std::vector<InterfaceInfo> interfaces) {
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        m_interfaces = std::move(interfaces);
        generation = ++m_generation;
        m_wake.notify_all();
    }
    return generation;
}

std::uint64_t DeviceTable::generation() const {
    std::lock_guard lock(m_mutex);
    return m_generation;
}

std::optional<std::string> DeviceTable::pathFor(const DeviceFilter& filter) const {
    std::lock_guard lock(m_mutex);
    for (const InterfaceInfo& info : m_interfaces) {
        if (matchesFilter(info, filter)) return info.path;
    }
    return std::nullopt;
}

std::uint32_t DeviceTable::keyboardCount(const DeviceFilter& filter) const {
    std::lock_guard lock(m_mutex);
    std::set<std::string> nodes;
    for (const InterfaceInfo& info : m_interfaces) {
        if (matchesFilter(info, filter)) nodes.insert(info.path);
    }
    return static_cast<std::uint32_t>(nodes.size());
}

std::vector<InterfaceInfo> DeviceTable::interfaces() const {
    std::lock_guard lock(m_mutex);
    return m_interfaces;
}

void DeviceTable::waitForChange(std::uint64_t seen, const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [&] { return m_generation != seen || stop.load(); });
}

void DeviceTable::sleepFor(std::chrono::milliseconds duration, const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, duration, [&] { return stop.load(); });
}

bool DeviceTable::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                            const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, timeout, [&] { return stop.load() || done(); }) && done();
}

void DeviceTable::wake() {
    std::lock_guard lock(m_mutex);
    m_wake.notify_all();
}

} // namespace ombrel::hid
