#include "DeviceTable.h"

#include <algorithm>

namespace ombrel::hid {

std::optional<std::uint64_t> DeviceTable::replace(std::vector<InterfaceInfo> interfaces, bool onlyIfChanged) {
    std::stable_sort(interfaces.begin(), interfaces.end(),
                     [](const InterfaceInfo& a, const InterfaceInfo& b) { return a.path < b.path; });
    std::lock_guard lock(m_mutex);
    if (onlyIfChanged && interfaces == m_interfaces) return std::nullopt;
    m_interfaces = std::move(interfaces);
    m_wake.notify_all();
    return ++m_generation;
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
    // Called before every report: no allocation. The interfaces of one node stand together.
    std::lock_guard lock(m_mutex);
    std::uint32_t count = 0;
    const std::string* lastCounted = nullptr;
    for (const InterfaceInfo& info : m_interfaces) {
        if (!matchesFilter(info, filter) || (lastCounted && *lastCounted == info.path)) continue;
        lastCounted = &info.path;
        ++count;
    }
    return count;
}

std::uint32_t DeviceTable::keyboardsOn(const DeviceFilter& filter, const std::vector<std::string>& nodes) const {
    std::lock_guard lock(m_mutex);
    std::uint32_t count = 0;
    const std::string* lastCounted = nullptr;
    for (const InterfaceInfo& info : m_interfaces) {
        if (!matchesFilter(info, filter) || (lastCounted && *lastCounted == info.path)) continue;
        if (std::find(nodes.begin(), nodes.end(), info.path) == nodes.end()) continue;
        lastCounted = &info.path;
        ++count;
    }
    return count;
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
