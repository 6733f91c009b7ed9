#include "support/FakeService.h"

#include "CheckValue.h"
#include "DeviceFilter.h"

#include <algorithm>
#include <cstring>

namespace ombrel::test {

namespace {
FakeService* g_fake = nullptr;

std::span<const std::uint8_t, 16> filterSpan(const std::uint8_t* filter) {
    return std::span<const std::uint8_t, 16>(filter, 16);
}
} // namespace

struct FakeCalls {
    static bool check(const std::uint8_t* filter, VevNotifyFn cb, std::uint32_t tag,
                      std::span<const std::uint8_t> payload, std::uint32_t check) {
        const bool ok = CheckValue(filterSpan(filter), reinterpret_cast<std::uintptr_t>(cb), tag, payload) == check;
        if (!ok) g_fake->checkFailed = true;
        return ok;
    }
    static std::int32_t Debug(std::int32_t) { return 1; }
    static std::int32_t Init(std::int32_t) { return g_fake->initResult; }
    static std::int32_t End() { return 1; }
    static std::int32_t RequestGetDeviceCount(const std::uint8_t* f, VevNotifyFn cb, std::uint32_t tag, std::uint32_t c,
                                              std::uint32_t*) {
        if (!check(f, cb, tag, {}, c)) return 0;
        return g_fake->deviceCount;
    }
    static std::int32_t DeleteRequestFromUnitId(std::uint32_t unit) {
        std::lock_guard lock(g_fake->m_mutex);
        if (g_fake->m_registrations.erase(unit)) ++g_fake->deletes;
        return 1;
    }
    static std::int32_t DeleteRequestFromHandle(void*) { return 1; }
    static std::int32_t RequestWrite(const std::uint8_t*, VevNotifyFn, std::uint32_t, const std::uint8_t*, std::int32_t,
                                     std::uint32_t, std::uint32_t*) {
        return 0;
    }
    static std::int32_t RequestWriteOne(const std::uint8_t* f, VevNotifyFn cb, std::uint32_t tag, const std::uint8_t* r,
                                        std::int32_t n, std::uint32_t c, std::uint32_t*) {
        if (n != 64 || !check(f, cb, tag, std::span<const std::uint8_t>(r, 64), c)) return 0;
        const Report request = Report::fromBytes(std::span<const std::uint8_t>(r, 64));
        g_fake->sent.push_back(request);
        if (g_fake->sendResult <= 0) return g_fake->sendResult;
        if (g_fake->onRequest)
            g_fake->onRequest(request);
        else
            g_fake->answerFromMemory(request);
        return g_fake->sendResult;
    }
    static std::int32_t RequestStatusWrite(const std::uint8_t* f, VevNotifyFn cb, std::uint32_t tag,
                                           const std::uint8_t* p, std::int32_t n, std::uint32_t c,
                                           std::uint32_t* unit) {
        if (!check(f, cb, tag, std::span<const std::uint8_t>(p, static_cast<std::size_t>(n)), c)) return 0;
        g_fake->statusWrites.emplace_back(p, p + n);
        std::lock_guard lock(g_fake->m_mutex);
        const std::uint32_t id = g_fake->m_nextUnit++;
        g_fake->m_registrations[id] = {cb, tag, DeviceFilter::parse(f).usagePage};
        if (unit) *unit = id;
        return 1;
    }
    static std::int32_t RequestStatusGet(const std::uint8_t*, VevNotifyFn, std::uint32_t, std::uint8_t*, std::int32_t,
                                         std::uint32_t, std::uint32_t*) {
        return 0;
    }
    static std::int32_t RequestAsyncRead(const std::uint8_t* f, VevNotifyFn cb, std::uint32_t tag, std::uint32_t c,
                                         std::uint32_t* unit) {
        if (!check(f, cb, tag, {}, c)) return 0;
        std::lock_guard lock(g_fake->m_mutex);
        const std::uint32_t id = g_fake->m_nextUnit++;
        g_fake->m_registrations[id] = {cb, tag, DeviceFilter::parse(f).usagePage};
        if (unit) *unit = id;
        return 1;
    }
    static std::int32_t RequestStatusSetFeature(const std::uint8_t*, VevNotifyFn, std::uint32_t, const std::uint8_t*,
                                                std::int32_t, std::uint32_t, std::uint32_t*) {
        return 0;
    }
};

FakeService::FakeService() {
    g_fake = this;
    m_api.Debug = &FakeCalls::Debug;
    m_api.Init = &FakeCalls::Init;
    m_api.End = &FakeCalls::End;
    m_api.RequestGetDeviceCount = &FakeCalls::RequestGetDeviceCount;
    m_api.DeleteRequestFromUnitId = &FakeCalls::DeleteRequestFromUnitId;
    m_api.DeleteRequestFromHandle = &FakeCalls::DeleteRequestFromHandle;
    m_api.RequestWrite = &FakeCalls::RequestWrite;
    m_api.RequestWriteOne = &FakeCalls::RequestWriteOne;
    m_api.RequestStatusWrite = &FakeCalls::RequestStatusWrite;
    m_api.RequestStatusGet = &FakeCalls::RequestStatusGet;
    m_api.RequestAsyncRead = &FakeCalls::RequestAsyncRead;
    m_api.RequestStatusSetFeature = &FakeCalls::RequestStatusSetFeature;
}

FakeService::~FakeService() {
    if (g_fake == this) g_fake = nullptr;
}

FakeService* FakeService::current() {
    return g_fake;
}

Report FakeService::replyTo(const Report& request, std::uint8_t status) const {
    Report reply;
    reply.setCommand(request.command());
    reply.setLength(request.length());
    reply.setOffset(request.offset());
    reply.setStatus(status);
    if (auto it = memory.find(request.command()); it != memory.end()) {
        const auto& area = it->second;
        for (std::size_t i = 0; i < Report::kPayloadSize && request.offset() + i < area.size(); ++i)
            reply.payload()[i] = area[request.offset() + i];
    }
    reply.seal();
    return reply;
}

void FakeService::answerFromMemory(const Report& request) {
    // Writes land in the area of the matching read command.
    auto it = memory.find(static_cast<std::uint8_t>(request.command() - 1));
    if (request.command() % 2 == 0 && it != memory.end()) {
        auto& area = it->second;
        for (std::size_t i = 0; i < request.length() && request.offset() + i < area.size(); ++i)
            area[request.offset() + i] = request.payload()[i];
    }
    deliverReply(replyTo(request));
}

std::vector<FakeService::Registration> FakeService::registrationsWithTag(std::uint32_t tag) {
    std::vector<Registration> targets;
    std::lock_guard lock(m_mutex);
    for (auto& [id, r] : m_registrations)
        if (r.tag == tag) targets.push_back(r);
    return targets;
}

void FakeService::deliverReply(const std::vector<std::uint8_t>& bytes) {
    for (const auto& r : registrationsWithTag(VEV_TAG_CTRL)) {
        VevRequestRecord request{r.tag, static_cast<std::uint32_t>(bytes.size()), bytes.data(), nullptr};
        VevNotifyRecord record{VEV_NOTIFY_DATA, 0, &request};
        r.callback(&record);
    }
}

void FakeService::deliverDeviceCount(int count) {
    for (const auto& r : registrationsWithTag(VEV_TAG_CTRL)) {
        VevRequestRecord request{r.tag, static_cast<std::uint32_t>(count), nullptr, nullptr};
        VevNotifyRecord record{VEV_NOTIFY_DEVICE_COUNT, 0, &request};
        r.callback(&record);
    }
}

void FakeService::deliverConsumer(std::uint16_t code) {
    const std::uint8_t report[2] = {static_cast<std::uint8_t>(code & 0xFF), static_cast<std::uint8_t>(code >> 8)};
    VevReportHolder holder{};
    const std::uint8_t* reportPtr = report;
    std::memcpy(holder.consumerReport, &reportPtr, sizeof reportPtr);
    holder.consumerLength = 2;
    for (const auto& r : registrationsWithTag(VEV_TAG_CONS)) {
        VevRequestRecord request{r.tag, 2, report, &holder};
        VevNotifyRecord record{VEV_NOTIFY_DATA, 0, &request};
        r.callback(&record);
    }
}

} // namespace ombrel::test
