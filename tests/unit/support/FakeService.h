#pragma once
// An in-process stand-in for the HID service library: it records what the program sends and answers through the
// same callback records the real library uses, synchronously, from inside the call that sent the request (the
// exchange is armed before it sends, so that is a valid moment for a reply to arrive). One at a time per process.

#include "device/Report.h"
#include "device/ServiceApi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace ombrel::test {

class FakeService {
public:
    FakeService();
    ~FakeService();

    const ServiceApi& api() const { return m_api; }

    // What RequestWriteOne does with a request: by default, `memory` answers it (see below).
    std::function<void(const Report& request)> onRequest;

    // Answers reads (commands 3, 5, 7, 9, 15) from `memory` at the request's offset; writes go into `memory`.
    // Every reply repeats the request's header with status 0.
    void answerFromMemory(const Report& request);
    std::map<std::uint8_t, std::vector<std::uint8_t>> memory; // per read command; writes use command - 1

    // Deliveries through the registered callbacks.
    void deliverReply(const std::vector<std::uint8_t>& bytes);
    void deliverReply(const Report& reply) {
        deliverReply(std::vector<std::uint8_t>(reply.bytes.begin(), reply.bytes.end()));
    }
    void deliverDeviceCount(int count);
    void deliverConsumer(std::uint16_t code);

    // A reply to `request` with the given status (header repeated, payload from memory for reads).
    Report replyTo(const Report& request, std::uint8_t status = 0) const;

    int deviceCount = 1;
    int initResult = 1;
    int sendResult = 1;
    bool checkFailed = false; // a call arrived with a wrong check value

    std::vector<Report> sent;                            // every report given to RequestWriteOne
    std::vector<std::vector<std::uint8_t>> statusWrites; // payloads of RequestStatusWrite
    int deletes = 0;

    static FakeService* current();

private:
    friend struct FakeCalls;
    struct Registration {
        VevNotifyFn callback;
        std::uint32_t tag;
        std::uint16_t usagePage;
    };
    std::vector<Registration> registrationsWithTag(std::uint32_t tag);

    ServiceApi m_api;
    std::mutex m_mutex; // guards the registrations
    std::map<std::uint32_t, Registration> m_registrations;
    std::uint32_t m_nextUnit = 1;
};

} // namespace ombrel::test
