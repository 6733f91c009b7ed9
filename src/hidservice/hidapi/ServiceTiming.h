#pragma once
// The service's waits. The defaults suit the real keyboard; tests shorten them.

#include <chrono>

namespace ombrel::hid {

struct ServiceTiming {
    // How long one read waits, which bounds how long a reader takes to notice a delete or an unplug.
    std::chrono::milliseconds readTimeout{100};
    // After a device change udev may still be setting the new node's permissions: opening is retried this often
    std::chrono::milliseconds openRetryStep{100};
    // ... for this long.
    std::chrono::milliseconds openRetryLimit{2000};
};

} // namespace ombrel::hid
