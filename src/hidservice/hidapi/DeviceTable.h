#pragma once
// The interfaces of the attached keyboards as the last enumeration found them, and a generation number that
// every enumeration raises. Readers without a handle sleep here until the next generation; the service waits
// here for readers to settle after a change.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "InterfaceInfo.h"

namespace ombrel::hid {

class DeviceTable {
public:
    // Takes a new enumeration and returns its generation. Each one is a new generation even when the list looks
    // the same, because a node can go and come back between two enumerations; with `onlyIfChanged` an identical
    // list is taken as no event instead (nullopt).
    std::optional<std::uint64_t> replace(std::vector<InterfaceInfo> interfaces, bool onlyIfChanged = false);
    std::uint64_t generation() const;

    // The node of the first interface the filter matches.
    std::optional<std::string> pathFor(const DeviceFilter& filter) const;
    // Keyboards with an interface the filter matches. A keyboard exposes each collection on one node, so each
    // distinct node is one keyboard.
    std::uint32_t keyboardCount(const DeviceFilter& filter) const;
    // Keyboards with an interface the filter matches on one of `nodes`.
    std::uint32_t keyboardsOn(const DeviceFilter& filter, const std::vector<std::string>& nodes) const;

    // Each wait below returns early once `stop` is set; whoever sets it calls wake() afterwards.
    // Sleeps until the generation differs from `seen`.
    void waitForChange(std::uint64_t seen, const std::atomic<bool>& stop);
    // Sleeps for `duration`.
    void sleepFor(std::chrono::milliseconds duration, const std::atomic<bool>& stop);
    // Sleeps until `done()` holds, re-checking it on every wake(), for at most `timeout`. Returns done().
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout, const std::atomic<bool>& stop);
    // Wakes every wait to re-check its condition (a stop flag was set, a reader made progress).
    void wake();

private:
    mutable std::mutex m_mutex; // guards m_interfaces and m_generation
    std::condition_variable m_wake;
    std::vector<InterfaceInfo> m_interfaces; // sorted by path
    std::uint64_t m_generation = 0;
};

} // namespace ombrel::hid
