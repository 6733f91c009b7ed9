#include "doctor/HidUsages.h"

#include <array>
#include <cstddef>

namespace ombrel {

std::vector<HidUsage> TopLevelUsages(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kLongItemPrefix = 0xFE;
    constexpr std::array<std::size_t, 4> kDataSizes{0, 1, 2, 4};
    enum : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
    enum : std::uint8_t { kTagCollection = 0x0A, kTagEndCollection = 0x0C, kTagUsagePage = 0x00, kTagUsage = 0x00 };

    std::vector<HidUsage> found;
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
    bool haveUsage = false;
    bool usageHasPage = false; // a four-byte usage carries its own page in the high half
    int depth = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::uint8_t prefix = bytes[pos];
        const std::size_t left = bytes.size() - pos - 1;
        if (prefix == kLongItemPrefix) {
            if (left < 2 || left - 2 < bytes[pos + 1]) break;
            pos += 3 + bytes[pos + 1];
            continue;
        }
        const std::size_t size = kDataSizes[prefix & 0x03u];
        if (left < size) break;
        std::uint32_t data = 0;
        for (std::size_t i = 0; i < size; ++i)
            data |= static_cast<std::uint32_t>(bytes[pos + 1 + i]) << (8 * i);
        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x03u);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        if (type == kGlobal && tag == kTagUsagePage) {
            usagePage = data;
        } else if (type == kLocal && tag == kTagUsage) {
            usage = data;
            haveUsage = true;
            usageHasPage = size == 4;
        } else if (type == kMain && tag == kTagCollection) {
            if (depth == 0 && haveUsage) {
                const std::uint32_t page = usageHasPage ? usage >> 16 : usagePage;
                found.push_back({static_cast<std::uint16_t>(page), static_cast<std::uint16_t>(usage & 0xFFFFu)});
            }
            ++depth;
        } else if (type == kMain && tag == kTagEndCollection) {
            if (depth > 0) --depth;
        }
        // Local items last until the next main item.
        if (type == kMain) haveUsage = false;
        pos += 1 + size;
    }
    return found;
}

} // namespace ombrel
