#include "HidHandle.h"

#include <vector>

namespace ombrel::hid {

int HidHandle::write(std::span<const std::uint8_t> report) {
    std::lock_guard lock(m_mutex);
    return m_device ? m_device->write(report) : -1;
}

int HidHandle::sendFeatureReport(std::span<const std::uint8_t> report) {
    std::lock_guard lock(m_mutex);
    return m_device ? m_device->sendFeatureReport(report) : -1;
}

int HidHandle::getReport(std::span<std::uint8_t> report) {
    std::lock_guard lock(m_mutex);
    if (!m_device || report.empty()) return -1;
    const std::uint8_t reportId = report[0];
    const int got = m_device->getInputReport(report);
    if (got > 0) return got;
    report[0] = reportId; // a failed request may have left anything there
    return m_device->getFeatureReport(report);
}

void HidHandle::close() {
    std::unique_ptr<HidDevice> closing;
    {
        std::lock_guard lock(m_mutex);
        closing = std::move(m_device);
    }
}

} // namespace ombrel::hid
