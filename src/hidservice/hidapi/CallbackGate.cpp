#include "CallbackGate.h"

#include <algorithm>

namespace ombrel::hid {

bool CallbackGate::invoke(VevNotifyFn fn, VevNotifyRecord* notify, const VevRequestRecord* request) {
    const Call call{std::this_thread::get_id(), request};
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return false;
        m_calls.push_back(call);
    }
    fn(notify);
    {
        std::lock_guard lock(m_mutex);
        auto it = std::find_if(m_calls.begin(), m_calls.end(),
                               [&](const Call& c) { return c.thread == call.thread && c.request == call.request; });
        if (it != m_calls.end()) m_calls.erase(it);
        m_callEnded.notify_all();
    }
    return true;
}

void CallbackGate::close() {
    std::unique_lock lock(m_mutex);
    m_closed = true;
    m_callEnded.wait(lock, [this] { return !othersInFlight(); });
}

bool CallbackGate::carries(const void* request) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_calls.begin(), m_calls.end(), [&](const Call& c) { return c.request == request; });
}

bool CallbackGate::othersInFlight() const {
    const std::thread::id self = std::this_thread::get_id();
    return std::any_of(m_calls.begin(), m_calls.end(), [&](const Call& c) { return c.thread != self; });
}

} // namespace ombrel::hid
