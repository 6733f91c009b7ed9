#pragma once
// An opened interface shared by the threads that write to it. hidapi keeps per-handle state without a lock and
// closing under a running call frees what that call uses, so every use and the close go through one mutex.

#include <memory>
#include <mutex>

#include "HidDevice.h"

namespace ombrel::hid {

class HidHandle {
public:
    explicit HidHandle(std::unique_ptr<HidDevice> device) : m_device(std::move(device)) {}

    // Each returns the device's result, or -1 once the handle is closed.
    int write(std::span<const std::uint8_t> report);
    int sendFeatureReport(std::span<const std::uint8_t> report);
    // An input report if the interface answers that request, else a feature report with the same id.
    int getReport(std::span<std::uint8_t> report);
    // Waits for a running call, then closes; later calls fail.
    void close();

private:
    std::mutex m_mutex; // guards m_device and every call on it
    std::unique_ptr<HidDevice> m_device;
};

} // namespace ombrel::hid
