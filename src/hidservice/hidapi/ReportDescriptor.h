#pragma once
// Reads what the service needs from an interface's HID report descriptor: whether its reports are numbered.
// On a numbered interface every input report starts with its report id, which the consumer report must skip.
// Header-only so the fuzz target can use it without linking the service library.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel::hid {

struct ReportDescriptorInfo {
    bool numberedReports = false; // a Report ID item with a valid (non-zero) id was seen
    bool complete = true;         // false when an item ran past the end; what was read before it still counts
};

inline ReportDescriptorInfo parseReportDescriptor(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kLongItemPrefix = 0xFE;
    constexpr std::uint8_t kTypeGlobal = 1;
    constexpr std::uint8_t kTagReportId = 8;
    constexpr std::array<std::size_t, 4> kDataSizes{0, 1, 2, 4};

    ReportDescriptorInfo info;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::uint8_t prefix = bytes[pos];
        const std::size_t left = bytes.size() - pos - 1; // bytes after the prefix
        if (prefix == kLongItemPrefix) {
            // Long item: a data size byte and a tag byte, then the data. No Report ID can hide in it.
            if (left < 2 || left - 2 < bytes[pos + 1]) {
                info.complete = false;
                break;
            }
            pos += 3 + bytes[pos + 1];
            continue;
        }
        const std::size_t dataSize = kDataSizes[prefix & 0x03u];
        if (left < dataSize) {
            info.complete = false;
            break;
        }
        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x03u);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        if (type == kTypeGlobal && tag == kTagReportId) {
            std::uint32_t id = 0;
            for (std::size_t i = 0; i < dataSize; ++i)
                id |= static_cast<std::uint32_t>(bytes[pos + 1 + i]) << (8 * i);
            // Report id 0 is reserved: a descriptor naming it has not switched to numbered reports.
            if (id != 0) info.numberedReports = true;
        }
        pos += 1 + dataSize;
    }
    return info;
}

} // namespace ombrel::hid
