#pragma once
// One request report out, its reply back: the single exchange every device command goes through.
//
// A request is sent with RequestWriteOne; its reply arrives later on a library thread, which hands it to
// DeliverReply. The exchange waits up to a time-out per attempt and tries three times: a reply to another
// request (another command or address), a damaged reply (its sum does not fit), or a refusing status, costs an
// attempt like a silence does.

#include "device/LinkResult.h"
#include "device/ServiceApi.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

namespace ombrel {

struct ExchangeTiming {
    std::chrono::milliseconds replyTimeout{1000}; // per attempt
    std::chrono::milliseconds retryPause{10};     // between attempts
};

enum class TraceDirection { Sent, Received, Dropped };
using TraceFn = std::function<void(TraceDirection, std::span<const std::uint8_t>)>;
// Does a whole exchange somewhere else (the running program, for a command-line run that reaches the keyboard
// through it): the 64-byte request in, the reply out, the other side's result back.
using ExchangeForwarder = std::function<LinkResult(std::span<const std::uint8_t> request, std::uint8_t* reply,
                                                   std::size_t capacity, int* replyLength)>;

class ReportExchange {
public:
    static constexpr int kAttempts = 3;

    explicit ReportExchange(const ServiceApi& api, ExchangeTiming timing = {});
    ReportExchange(const ReportExchange&) = delete;
    ReportExchange& operator=(const ReportExchange&) = delete;

    // Sends min(length, 64) bytes of `request` (zero-padded to 64) and waits for the reply, which is copied to
    // `reply` (at most `capacity` bytes; `*replyLength` says how many). A reply with a
    // refusing status is handed back with LINK_OK after the last attempt; the command routines map the status.
    LinkResult ExchangeReport(const std::uint8_t* request, std::size_t length, std::uint8_t* reply,
                              std::size_t capacity, int* replyLength);

    // Sends one report and returns RequestWriteOne's result unchanged: no device check, no reply.
    int SendReportNoReply(const std::uint8_t* bytes, std::size_t length);

    // Called from the library's thread with a reply from the vendor interface. Dropped unless an exchange is
    // waiting; otherwise copied (cut to the waiting caller's capacity) and the waiter woken.
    void DeliverReply(const std::uint8_t* data, std::size_t length);

    // The library counts no keyboard any more: a waiting exchange stops waiting for a reply that cannot come and
    // returns LINK_NO_DEVICE, rather than letting the caller wait out the time-out.
    void DeviceGone();

    // The number of attached keyboards, as the library keeps it.
    int DeviceCount() const;

    // Every report sent and every reply received (or dropped) is shown to `trace`; set before use.
    void SetTrace(TraceFn trace) { m_trace = std::move(trace); }
    // Every exchange goes to `forwarder` instead of the library, which is then never asked; set before use.
    void SetForwarder(ExchangeForwarder forwarder) { m_forwarder = std::move(forwarder); }
    const ServiceApi& api() const { return m_api; }

private:
    void arm(std::uint8_t* reply, std::size_t capacity);
    void disarm();
    void trace(TraceDirection d, std::span<const std::uint8_t> bytes) const {
        if (m_trace) m_trace(d, bytes);
    }

    const ServiceApi& m_api;
    const ExchangeTiming m_timing;
    TraceFn m_trace;
    ExchangeForwarder m_forwarder;

    // Serialises whole exchanges, so overlapping callers wait their turn instead of backing off and taking over
    // another caller's exchange.
    std::mutex m_exchangeMutex;

    // Guards the reply destination and the flags below between the waiting exchange and the library's thread,
    // so a reply can never be copied into a buffer whose exchange has already returned.
    std::mutex m_replyMutex;
    std::condition_variable m_replyArrived;
    bool m_busy = false;    // an exchange waits for its reply
    bool m_replied = false; // the reply has been copied
    bool m_gone = false;    // the keyboard went away while the exchange waited
    std::uint8_t* m_destination = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_copied = 0;
};

} // namespace ombrel
