#pragma once
// Reads what the service needs from an interface's HID report descriptor: whether its reports are numbered (on a
// numbered interface every input report starts with its report id, which the consumer report must skip), and the
// usage page and usage of each top-level collection, which the device filters match on.
// Header-only so the fuzz target can use it without linking the service library.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace ombrel::hid {

struct ReportDescriptorInfo {
    bool numberedReports = false; // a Report ID item with a valid (non-zero) id was seen
    bool complete = true;         // false when an item ran past the end; what was read before it still counts
    // (usage page, usage) of every top-level collection, in order.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> collections;
};

inline ReportDescriptorInfo parseReportDescriptor(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kLongItemPrefix = 0xFE;
    constexpr std::uint8_t kTypeGlobal = 1;
    constexpr std::uint8_t kTagReportId = 8;
    constexpr std::uint8_t kTypeMain = 0;
    constexpr std::uint8_t kTypeLocal = 2;
    constexpr std::uint8_t kTagUsagePage = 0; // global
    constexpr std::uint8_t kTagUsage = 0;     // local
    constexpr std::uint8_t kTagCollection = 10;
    constexpr std::uint8_t kTagEndCollection = 12;
    constexpr std::array<std::size_t, 4> kDataSizes{0, 1, 2, 4};

    ReportDescriptorInfo info;
    std::uint16_t usagePage = 0;
    std::uint32_t usage = 0; // as given; a 4-byte usage carries its own page in the high half
    bool usageHasPage = false;
    std::size_t depth = 0;
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
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= static_cast<std::uint32_t>(bytes[pos + 1 + i]) << (8 * i);
        if (type == kTypeGlobal && tag == kTagReportId) {
            // Report id 0 is reserved: a descriptor naming it has not switched to numbered reports.
            if (value != 0) info.numberedReports = true;
        } else if (type == kTypeGlobal && tag == kTagUsagePage) {
            usagePage = static_cast<std::uint16_t>(value);
        } else if (type == kTypeLocal && tag == kTagUsage) {
            usage = value;
            usageHasPage = dataSize == 4;
        } else if (type == kTypeMain) {
            if (tag == kTagCollection) {
                // A short usage takes the usage page in force at the collection, whichever came first.
                if (depth == 0)
                    info.collections.emplace_back(usageHasPage ? static_cast<std::uint16_t>(usage >> 16) : usagePage,
                                                  static_cast<std::uint16_t>(usage & 0xFFFFu));
                ++depth;
            } else if (tag == kTagEndCollection && depth > 0) {
                --depth;
            }
            usage = 0; // local items last until the next main item
            usageHasPage = false;
        }
        pos += 1 + dataSize;
    }
    return info;
}

} // namespace ombrel::hid
