#include "device/ReportExchange.h"

#include "CheckValue.h"
#include "DeviceFilter.h"
#include "device/LinkResult.h"
#include "device/Report.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace ombrel {

namespace {

const std::array<std::uint8_t, 16> kVendorFilterBytes = kVendorFilter.bytes();

// A reply needs its command byte (3), its address (5-6) and its status byte (7) to be judged at all.
constexpr std::size_t kMinimumReply = 8;

enum class Verdict { Accept, Retry };

// A whole reply carries the sum of its bytes 3..63 as a request does; one that disagrees was damaged. A reply cut
// short cannot be checked (its data is judged by its length instead).
bool damaged(const std::uint8_t* reply, std::size_t copied) {
    if (copied < Report::kSize) return false;
    return !Report::fromBytes(std::span<const std::uint8_t>(reply, Report::kSize)).sumMatches();
}

} // namespace

ReportExchange::ReportExchange(const ServiceApi& api, ExchangeTiming timing) : m_api(api), m_timing(timing) {}

int ReportExchange::DeviceCount() const {
    const std::uint32_t check = CheckValue(kVendorFilterBytes, 0, 0);
    return m_api.RequestGetDeviceCount(kVendorFilterBytes.data(), nullptr, 0, check, nullptr);
}

void ReportExchange::arm(std::uint8_t* reply, std::size_t capacity) {
    std::lock_guard lock(m_replyMutex);
    m_destination = reply;
    m_capacity = capacity;
    m_copied = 0;
    m_replied = false;
    m_gone = false;
    m_busy = true;
}

void ReportExchange::disarm() {
    std::lock_guard lock(m_replyMutex);
    m_busy = false;
    m_destination = nullptr;
    m_capacity = 0;
}

LinkResult ReportExchange::ExchangeReport(const std::uint8_t* request, std::size_t length, std::uint8_t* reply,
                                          std::size_t capacity, int* replyLength) {
    if (replyLength) *replyLength = 0;
    std::lock_guard serial(m_exchangeMutex);

    if (DeviceCount() == 0) return LINK_NO_DEVICE;

    Report report;
    report.bytes.fill(0);
    std::memcpy(report.bytes.data(), request, std::min(length, Report::kSize));
    if (m_forwarder) {
        // The other side tries, retries and judges the reply; trying again here would only multiply its waits.
        trace(TraceDirection::Sent, report.bytes);
        int copied = 0;
        const LinkResult result = m_forwarder(report.bytes, reply, capacity, &copied);
        copied = std::clamp(copied, 0, static_cast<int>(capacity));
        if (copied > 0) trace(TraceDirection::Received, std::span<const std::uint8_t>(reply, std::size_t(copied)));
        if (replyLength) *replyLength = result == LINK_OK ? copied : 0;
        return result;
    }
    const std::uint32_t check = CheckValue(kVendorFilterBytes, 0, 0, report.bytes);

    int attempts = 0;
    for (;;) {
        arm(reply, capacity);
        trace(TraceDirection::Sent, report.bytes);
        const int sent = m_api.RequestWriteOne(kVendorFilterBytes.data(), nullptr, 0, report.bytes.data(),
                                               static_cast<std::int32_t>(Report::kSize), check, nullptr);
        if (sent <= 0) {
            disarm();
            return LINK_SEND_FAILED;
        }

        std::size_t copied = 0;
        bool replied = false;
        bool gone = false;
        {
            std::unique_lock lock(m_replyMutex);
            m_replyArrived.wait_for(lock, m_timing.replyTimeout, [this] { return m_replied || m_gone; });
            replied = m_replied;
            gone = m_gone && !m_replied;
            copied = m_copied;
            // From here on the library may not touch the caller's buffer.
            m_busy = false;
            m_destination = nullptr;
        }

        if (gone) return LINK_NO_DEVICE;
        Verdict verdict = Verdict::Accept;
        if (!replied) {
            verdict = Verdict::Retry;
        } else {
            trace(TraceDirection::Received, std::span<const std::uint8_t>(reply, copied));
            if (copied < kMinimumReply || reply[3] != report.command() || reply[5] != report.bytes[5] ||
                reply[6] != report.bytes[6]) {
                // Too short to judge, or the reply to another request: another command, or the same command at
                // another address (a late reply to the previous chunk of a block, whose data is not this one's).
                verdict = Verdict::Retry;
            } else if (damaged(reply, copied)) {
                verdict = Verdict::Retry; // its bytes changed on the way: its data or status cannot be trusted
            } else if (reply[7] == 0xFF || reply[7] == 0xFE) {
                // A refusal is retried; after the last attempt it is handed back for the routine to map.
                if (attempts + 1 >= kAttempts) {
                    if (replyLength) *replyLength = static_cast<int>(copied);
                    return LINK_OK;
                }
                verdict = Verdict::Retry;
            }
        }

        if (verdict == Verdict::Accept) {
            if (replyLength) *replyLength = static_cast<int>(copied);
            return LINK_OK;
        }
        if (++attempts >= kAttempts) return LINK_NO_REPLY;
        std::this_thread::sleep_for(m_timing.retryPause);
    }
}

int ReportExchange::SendReportNoReply(const std::uint8_t* bytes, std::size_t length) {
    Report report;
    report.bytes.fill(0);
    std::memcpy(report.bytes.data(), bytes, std::min(length, Report::kSize));
    const std::uint32_t check = CheckValue(kVendorFilterBytes, 0, 0, report.bytes);
    trace(TraceDirection::Sent, report.bytes);
    return m_api.RequestWriteOne(kVendorFilterBytes.data(), nullptr, 0, report.bytes.data(),
                                 static_cast<std::int32_t>(Report::kSize), check, nullptr);
}

void ReportExchange::DeviceGone() {
    std::lock_guard lock(m_replyMutex);
    if (!m_busy) return;
    m_gone = true;
    m_replyArrived.notify_one();
}

void ReportExchange::DeliverReply(const std::uint8_t* data, std::size_t length) {
    if (!data) length = 0;
    {
        std::lock_guard lock(m_replyMutex);
        if (m_busy && !m_replied && m_destination) {
            m_copied = std::min(length, m_capacity);
            if (m_copied) std::memcpy(m_destination, data, m_copied);
            m_replied = true;
            m_replyArrived.notify_one();
            return;
        }
    }
    trace(TraceDirection::Dropped, std::span<const std::uint8_t>(data, length));
}

} // namespace ombrel
