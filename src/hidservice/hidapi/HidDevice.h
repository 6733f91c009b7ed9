#pragma once
// One opened HID interface. The calls mirror hidapi's: byte counts on success, -1 on failure. An object is used
// by one thread at a time (hidapi keeps per-handle state without a lock); HidHandle adds the lock where a handle
// is shared.

#include <cstdint>
#include <span>

namespace ombrel::hid {

class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Waits up to timeoutMs for one input report: its byte count, 0 on time-out, -1 when the device failed or went.
    virtual int read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;
    // Writes an output report, report id first.
    virtual int write(std::span<const std::uint8_t> report) = 0;
    virtual int sendFeatureReport(std::span<const std::uint8_t> report) = 0;
    // Fill `report` from byte 0 = the wanted report id.
    virtual int getInputReport(std::span<std::uint8_t> report) = 0;
    virtual int getFeatureReport(std::span<std::uint8_t> report) = 0;
};

} // namespace ombrel::hid
