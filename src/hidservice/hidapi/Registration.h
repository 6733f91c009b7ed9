#pragma once
// One registration of the program: its unit id, the interface it names, its callback and tag. It builds the
// records the callback receives; they live on the delivering thread's stack for the length of the call.

#include <cstdint>
#include <span>

#include "CallbackGate.h"
#include "DeviceFilter.h"

namespace ombrel::hid {

class Registration {
public:
    Registration(std::uint32_t unitId, const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag)
        : m_unitId(unitId), m_filter(filter), m_callback(callback), m_tag(tag) {}

    std::uint32_t unitId() const { return m_unitId; }
    const DeviceFilter& filter() const { return m_filter; }

    // An input report as read. On a numbered interface the consumer report leaves out the leading report id.
    void deliverData(std::span<const std::uint8_t> report, bool numberedReports);
    // The number of attached keyboards changed.
    void deliverCount(std::uint32_t count);
    // Ends delivery; see CallbackGate.
    void close() { m_gate.close(); }
    bool carries(const void* request) const { return m_gate.carries(request); }

private:
    const std::uint32_t m_unitId;
    const DeviceFilter m_filter;
    const VevNotifyFn m_callback;
    const std::uint32_t m_tag;
    CallbackGate m_gate;
};

} // namespace ombrel::hid
