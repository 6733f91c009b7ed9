#pragma once
// The handles the write calls use, one per interface node, opened on first use and kept until a device change or
// a failed call. Writers have handles of their own instead of borrowing a reader's: hidapi rewrites a per-handle
// error string on every read and write without a lock, so a read and a write on one handle from two threads race.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "HidBackend.h"
#include "HidHandle.h"

namespace ombrel::hid {

class HandleCache {
public:
    explicit HandleCache(HidBackend& backend) : m_backend(backend) {}

    // The handle of the node, opened now if needed; null when it cannot be opened.
    std::shared_ptr<HidHandle> acquire(const std::string& path);
    // Forgets and closes the handle if it is still the cached one (a call on it failed).
    void drop(const std::string& path, const std::shared_ptr<HidHandle>& handle);
    // Closes every handle: nodes may have gone or been reused.
    void clear();

private:
    HidBackend& m_backend;
    std::mutex m_mutex; // guards m_handles
    std::map<std::string, std::shared_ptr<HidHandle>> m_handles;
};

} // namespace ombrel::hid
