#include "HidapiDevice.h"

#include <cerrno>

#include <hidapi/hidapi.h>

#include "HidapiLock.h"

namespace ombrel::hid {

std::unique_ptr<HidDevice> HidapiDevice::open(const std::string& path, int& error) {
    std::lock_guard lock(hidapiGlobalMutex());
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (!device) {
        // hidapi opens the node with open(2); its errno is the best account of why (EACCES: no udev rule).
        error = errno != 0 ? errno : ENODEV;
        return nullptr;
    }
    error = 0;
    return std::unique_ptr<HidDevice>(new HidapiDevice(device));
}

HidapiDevice::~HidapiDevice() {
    hid_close(m_device);
}

int HidapiDevice::read(std::span<std::uint8_t> buffer, int timeoutMs) {
    return hid_read_timeout(m_device, buffer.data(), buffer.size(), timeoutMs);
}

int HidapiDevice::write(std::span<const std::uint8_t> report) {
    if (report.empty()) return -1;
    return hid_write(m_device, report.data(), report.size());
}

int HidapiDevice::sendFeatureReport(std::span<const std::uint8_t> report) {
    if (report.empty()) return -1;
    return hid_send_feature_report(m_device, report.data(), report.size());
}

int HidapiDevice::getInputReport(std::span<std::uint8_t> report) {
    if (report.empty()) return -1;
    return hid_get_input_report(m_device, report.data(), report.size());
}

int HidapiDevice::getFeatureReport(std::span<std::uint8_t> report) {
    if (report.empty()) return -1;
    return hid_get_feature_report(m_device, report.data(), report.size());
}

} // namespace ombrel::hid
