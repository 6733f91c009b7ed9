#include "Registration.h"

#include <cstring>

namespace ombrel::hid {

void Registration::deliverData(std::span<const std::uint8_t> report, bool numberedReports) {
    const std::size_t skip = numberedReports && !report.empty() ? 1 : 0;
    const std::uint8_t* consumer = report.data() + skip;

    VevReportHolder holder{};
    std::memcpy(holder.consumerReport, &consumer, sizeof consumer);
    holder.consumerLength = static_cast<std::uint32_t>(report.size() - skip);

    VevRequestRecord request{};
    request.tag = m_tag;
    request.length = static_cast<std::uint32_t>(report.size());
    request.data = report.data();
    request.report = &holder;

    VevNotifyRecord notify{};
    notify.kind = VEV_NOTIFY_DATA;
    notify.request = &request;
    m_gate.invoke(m_callback, &notify, &request);
}

void Registration::deliverCount(std::uint32_t count) {
    VevRequestRecord request{};
    request.tag = m_tag;
    request.length = count;

    VevNotifyRecord notify{};
    notify.kind = VEV_NOTIFY_DEVICE_COUNT;
    notify.request = &request;
    m_gate.invoke(m_callback, &notify, &request);
}

} // namespace ombrel::hid
