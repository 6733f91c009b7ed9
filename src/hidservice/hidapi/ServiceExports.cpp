// The library's C interface (VevIroz.h): argument checks, check values, then the running HidService.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <span>
#include <string>

#include "CallCheck.h"
#include "DebugLog.h"
#include "DeviceEnumerator.h"
#include "DeviceFilter.h"
#include "NodeLock.h"
#include "ServiceInstance.h"
#include "VevIroz.h"

using ombrel::DeviceFilter;
using ombrel::hid::callCheckMatches;
using ombrel::hid::HidService;
using ombrel::hid::ServiceInstance;

namespace {

std::span<const std::uint8_t> bytesOf(const std::uint8_t* data, std::int32_t length) {
    return std::span<const std::uint8_t>(data, static_cast<std::size_t>(length));
}

bool validBuffer(const void* data, std::int32_t length) {
    return data && length > 0;
}

void setUnitId(std::uint32_t* unitId, std::uint32_t value) {
    if (unitId) *unitId = value;
}

// 1 when all of it went out.
std::int32_t allWritten(int written, std::int32_t length) {
    return written == length ? 1 : 0;
}

} // namespace

extern "C" {

VEV_API int32_t Debug(int32_t level) {
    ombrel::hid::setDebugLevel(level);
    return 1;
}

VEV_API int32_t Init(int32_t /*flags*/) {
    return ServiceInstance::init();
}

VEV_API int32_t End(void) {
    return ServiceInstance::end();
}

VEV_API int32_t RequestGetDeviceCount(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check,
                                      uint32_t* /*unitId*/) {
    if (!callCheckMatches(filter, callback, tag, {}, check)) return 0;
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service ? static_cast<int32_t>(service->deviceCount(DeviceFilter::parse(filter))) : 0;
}

VEV_API int32_t DeleteRequestFromUnitId(uint32_t unitId) {
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service && unitId != 0 && service->remove(unitId) ? 1 : 0;
}

// The handle is the request record a notification carries; it is valid while that callback runs.
VEV_API int32_t DeleteRequestFromHandle(void* handle) {
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service && service->removeByRecord(handle) ? 1 : 0;
}

VEV_API int32_t RequestWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data,
                             int32_t length, uint32_t check, uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!validBuffer(data, length) || !callCheckMatches(filter, callback, tag, bytesOf(data, length), check)) return 0;
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service ? allWritten(service->write(DeviceFilter::parse(filter), bytesOf(data, length)), length) : 0;
}

VEV_API int32_t RequestWriteOne(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* report,
                                int32_t length, uint32_t check, uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!report || length != VEV_REPORT_SIZE ||
        !callCheckMatches(filter, callback, tag, bytesOf(report, length), check)) {
        return 0;
    }
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service ? allWritten(service->write(DeviceFilter::parse(filter), bytesOf(report, length)), length) : 0;
}

VEV_API int32_t RequestStatusWrite(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* payload,
                                   int32_t length, uint32_t check, uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!validBuffer(payload, length) || !callCheckMatches(filter, callback, tag, bytesOf(payload, length), check)) {
        return 0;
    }
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    if (!service) return 0;
    const std::uint32_t id =
        service->addStatusWrite(DeviceFilter::parse(filter), callback, tag, bytesOf(payload, length));
    setUnitId(unitId, id);
    return id != 0 ? 1 : 0;
}

// `out` holds the wanted report id in byte 0; returns the bytes read into it, report id included.
VEV_API int32_t RequestStatusGet(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint8_t* out,
                                 int32_t capacity, uint32_t check, uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!validBuffer(out, capacity) || !callCheckMatches(filter, callback, tag, {}, check)) return 0;
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    if (!service) return 0;
    const int got = service->getReport(DeviceFilter::parse(filter),
                                       std::span<std::uint8_t>(out, static_cast<std::size_t>(capacity)));
    return got > 0 ? got : 0;
}

VEV_API int32_t RequestAsyncRead(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, uint32_t check,
                                 uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!callback || !callCheckMatches(filter, callback, tag, {}, check)) return 0;
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    if (!service) return 0;
    const std::uint32_t id = service->addReader(DeviceFilter::parse(filter), callback, tag);
    setUnitId(unitId, id);
    return id != 0 ? 1 : 0;
}

VEV_API int32_t RequestStatusSetFeature(const uint8_t* filter, VevNotifyFn callback, uint32_t tag, const uint8_t* data,
                                        int32_t length, uint32_t check, uint32_t* unitId) {
    setUnitId(unitId, 0);
    if (!validBuffer(data, length) || !callCheckMatches(filter, callback, tag, bytesOf(data, length), check)) return 0;
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    return service ? allWritten(service->sendFeatureReport(DeviceFilter::parse(filter), bytesOf(data, length)), length)
                   : 0;
}

VEV_API int32_t VevIrozProbe(char* node, int32_t capacity) {
    // A fresh look, whether or not the service runs: the tool asks once, to tell "no keyboard" from "no access".
    std::string path;
    for (const ombrel::hid::InterfaceInfo& info : ombrel::hid::DeviceEnumerator::enumerate()) {
        if (ombrel::hid::matchesFilter(info, ombrel::kVendorFilter)) {
            path = info.path;
            break;
        }
    }
    if (node && capacity > 0) {
        const std::size_t copied = std::min(path.size(), static_cast<std::size_t>(capacity) - 1);
        std::memcpy(node, path.data(), copied);
        node[copied] = '\0';
    }
    if (path.empty()) return -1;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return errno;
    ::close(fd);
    // EBUSY when another program holds the keyboard (this program's own claim does not count).
    const std::shared_ptr<HidService> service = ServiceInstance::current();
    if (service && service->holdsClaim(path)) return 0;
    int error = 0;
    return ombrel::hid::NodeLock::take(path, error) ? 0 : error;
}

} // extern "C"
