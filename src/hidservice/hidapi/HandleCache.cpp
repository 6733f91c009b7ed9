#include "HandleCache.h"

#include <vector>

#include "DebugLog.h"

namespace ombrel::hid {

std::shared_ptr<HidHandle> HandleCache::acquire(const std::string& path) {
    std::lock_guard lock(m_mutex);
    auto found = m_handles.find(path);
    if (found != m_handles.end()) return found->second;
    int error = 0;
    std::unique_ptr<HidDevice> device = m_backend.open(path, error);
    if (!device) {
        debugLog(1, "cannot open " + path + " for writing: " + errorText(error));
        return nullptr;
    }
    auto handle = std::make_shared<HidHandle>(std::move(device));
    m_handles.emplace(path, handle);
    return handle;
}

void HandleCache::drop(const std::string& path, const std::shared_ptr<HidHandle>& handle) {
    {
        std::lock_guard lock(m_mutex);
        auto found = m_handles.find(path);
        if (found != m_handles.end() && found->second == handle) m_handles.erase(found);
    }
    handle->close();
}

void HandleCache::clear() {
    std::map<std::string, std::shared_ptr<HidHandle>> closing;
    {
        std::lock_guard lock(m_mutex);
        closing.swap(m_handles);
    }
    for (auto& entry : closing)
        entry.second->close();
}

} // namespace ombrel::hid
