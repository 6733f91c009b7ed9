#pragma once
// The one service of the loaded library, between Init and End: hidapi, the HidService and its udev monitor.

#include <cstdint>
#include <memory>

#include "HidService.h"

namespace ombrel::hid {

class ServiceInstance {
public:
    // 1 when the service runs (also when it already ran, and when no keyboard is attached), 0 when it cannot.
    static std::int32_t init();
    // Stops every thread and closes every handle; 1 when done, 0 when called on a library thread.
    static std::int32_t end();
    // The running service, or null. Callers keep it alive for the length of their call.
    static std::shared_ptr<HidService> current();
};

} // namespace ombrel::hid
