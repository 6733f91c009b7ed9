#pragma once
// The service's waits. The defaults suit the real keyboard; tests shorten them.

#include <chrono>

namespace ombrel::hid {

struct ServiceTiming {
    // After a device change udev may still be setting the new node's permissions: opening is retried this often
    std::chrono::milliseconds openRetryStep{100};
    // ... for this long.
    std::chrono::milliseconds openRetryLimit{2000};
    // A program keeps the vendor interface this long after its last write, so that no other program cuts into its
    // conversation (a request and its reply, a whole write bracket); then the keyboard is free for others.
    std::chrono::milliseconds claimHold{1500};
    // A write that finds another program talking to the keyboard waits this long for its turn.
    std::chrono::milliseconds claimWait{5000};
};

} // namespace ombrel::hid
