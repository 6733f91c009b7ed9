#pragma once
// Lets a registration's callbacks run without any library lock held, and lets its deletion promise that no
// callback runs after it returns: close() waits for the calls in flight on other threads. A call in flight on the
// closing thread itself (the program deleting from inside its own callback) is not waited for.

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "VevIroz.h"

namespace ombrel::hid {

class CallbackGate {
public:
    // Calls fn(notify) unless the gate is closed; `request` names the record for DeleteRequestFromHandle while
    // the call runs. Returns whether it called.
    bool invoke(VevNotifyFn fn, VevNotifyRecord* notify, const VevRequestRecord* request);
    void close();
    // Whether a call for this request record is in flight.
    bool carries(const void* request) const;

private:
    struct Call {
        std::thread::id thread;
        const void* request;
    };

    bool othersInFlight() const; // with m_mutex held

    mutable std::mutex m_mutex; // guards m_closed and m_calls
    std::condition_variable m_callEnded;
    bool m_closed = false;
    std::vector<Call> m_calls;
};

} // namespace ombrel::hid
