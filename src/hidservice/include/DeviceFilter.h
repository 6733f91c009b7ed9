#pragma once
// The 16-byte filter that names one HID interface of the keyboard in every call to the service library.

#include <array>
#include <cstdint>

namespace ombrel {

struct DeviceFilter {
    std::uint32_t matchMask = 0x0000000F;
    std::uint16_t vendorId = 0x0C45;
    std::uint16_t productId = 0x5204;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;

    std::array<std::uint8_t, 16> bytes() const;
    static DeviceFilter parse(const std::uint8_t* bytes16);
};

// The three interfaces the program talks to.
inline constexpr DeviceFilter kVendorFilter{0x0000000F, 0x0C45, 0x5204, 0xFF1C, 0x0092};
inline constexpr DeviceFilter kConsumerFilter{0x0000000F, 0x0C45, 0x5204, 0x000C, 0x0001};
inline constexpr DeviceFilter kBankStatusFilter{0x0000000F, 0x0C45, 0x5204, 0x0008, 0x0089};

} // namespace ombrel
