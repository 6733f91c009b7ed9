#include "ServiceInstance.h"

#include <mutex>

#include <hidapi/hidapi.h>

#include "DebugLog.h"
#include "HidapiBackend.h"
#include "HidapiLock.h"
#include "LibraryThread.h"
#include "UdevMonitor.h"

namespace ombrel::hid {

namespace {

// Declared in this order on purpose: the unload guard below is destroyed first, while these still exist.
std::mutex g_lifecycleMutex; // serialises init and end; guards g_monitor
std::unique_ptr<UdevMonitor> g_monitor;
std::mutex g_currentMutex; // guards g_service only, so calls from callbacks never wait for a running end
std::shared_ptr<HidService> g_service;

// No thread of the library may outlive it: unloading it ends the service.
struct EndOnUnload {
    EndOnUnload() = default;
    EndOnUnload(const EndOnUnload&) = delete;
    EndOnUnload& operator=(const EndOnUnload&) = delete;
    ~EndOnUnload() { ServiceInstance::end(); }
} g_endOnUnload;

} // namespace

std::int32_t ServiceInstance::init() {
    if (t_libraryThread) return 0;
    std::lock_guard lifecycle(g_lifecycleMutex);
    if (current()) return 1;
    {
        std::lock_guard lock(hidapiGlobalMutex());
        if (hid_init() != 0) {
            debugLog(1, "hid_init failed");
            return 0;
        }
    }
    auto service = std::make_shared<HidService>(std::make_shared<HidapiBackend>());
    g_monitor = std::make_unique<UdevMonitor>();
    HidService* raw = service.get(); // the monitor is stopped before the service goes
    if (!g_monitor->start([raw](const std::vector<std::string>& removed) { raw->refreshDevices(removed); },
                          [raw] { raw->setRefreshOnQuery(true); })) {
        service->setRefreshOnQuery(true);
    }
    // The first look comes after the monitor listens, so no keyboard arriving in between is missed.
    service->refreshDevices();
    std::lock_guard lock(g_currentMutex);
    g_service = std::move(service);
    return 1;
}

std::int32_t ServiceInstance::end() {
    if (t_libraryThread) return 0;
    std::lock_guard lifecycle(g_lifecycleMutex);
    std::shared_ptr<HidService> service;
    {
        std::lock_guard lock(g_currentMutex);
        service.swap(g_service);
    }
    if (!service) return 1;
    // Readers first: the monitor may be waiting for them to settle, which a shut-down service cuts short.
    service->shutdown();
    if (g_monitor) g_monitor->stop();
    g_monitor.reset();
    service.reset();
    std::lock_guard lock(hidapiGlobalMutex());
    hid_exit();
    return 1;
}

std::shared_ptr<HidService> ServiceInstance::current() {
    std::lock_guard lock(g_currentMutex);
    return g_service;
}

} // namespace ombrel::hid
