#pragma once
// An interface opened with hidapi on hidraw.

#include <memory>
#include <string>

#include "HidDevice.h"

struct hid_device_;

namespace ombrel::hid {

class HidapiDevice final : public HidDevice {
public:
    // Null with `error` set (an errno value) when the node cannot be opened.
    static std::unique_ptr<HidDevice> open(const std::string& path, int& error);

    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    int read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    int write(std::span<const std::uint8_t> report) override;
    int sendFeatureReport(std::span<const std::uint8_t> report) override;
    int getInputReport(std::span<std::uint8_t> report) override;
    int getFeatureReport(std::span<std::uint8_t> report) override;

private:
    explicit HidapiDevice(hid_device_* device) : m_device(device) {}

    hid_device_* m_device;
};

} // namespace ombrel::hid
