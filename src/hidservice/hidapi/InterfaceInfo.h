#pragma once
// One HID interface (top-level collection) of an attached keyboard, as an enumeration reports it.

#include <cstdint>
#include <string>

#include "DeviceFilter.h"

namespace ombrel::hid {

struct InterfaceInfo {
    std::string path; // the hidraw node, e.g. "/dev/hidraw3"
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;

    bool operator==(const InterfaceInfo&) const = default;
};

// Whether the interface is the one the filter names. Each bit of matchMask turns one comparison on:
// bit 0 the vendor id, bit 1 the product id, bit 2 the usage page, bit 3 the usage.
inline bool matchesFilter(const InterfaceInfo& info, const DeviceFilter& filter) {
    const std::uint32_t mask = filter.matchMask;
    return (!(mask & 0x1u) || info.vendorId == filter.vendorId) &&
           (!(mask & 0x2u) || info.productId == filter.productId) &&
           (!(mask & 0x4u) || info.usagePage == filter.usagePage) && (!(mask & 0x8u) || info.usage == filter.usage);
}

// The vendor interface carries the reports and the device-count notifications.
inline bool isVendorInterface(const DeviceFilter& filter) {
    return filter.usagePage == kVendorFilter.usagePage && filter.usage == kVendorFilter.usage;
}

} // namespace ombrel::hid
