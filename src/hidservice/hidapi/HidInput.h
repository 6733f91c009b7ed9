#pragma once
// A reader's own handle on an interface: it waits for input reports without a time limit, so an idle reader
// never wakes, and another thread can cut the wait short (a delete, the end of the service).

#include <cstdint>
#include <span>

namespace ombrel::hid {

class HidInput {
public:
    virtual ~HidInput() = default;

    // Waits for one input report: its byte count; -1 when the device failed or went; 0 once wake() was called.
    virtual int read(std::span<std::uint8_t> buffer) = 0;
    // Ends the current wait, or the next one if none runs; from any thread.
    virtual void wake() = 0;
};

} // namespace ombrel::hid
