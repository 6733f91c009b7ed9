#pragma once
// The usage page and usage of each top-level collection in a HID report descriptor (what a hidraw node's
// report_descriptor file in sysfs holds): how the checks tell the keyboard's interfaces apart.

#include <cstdint>
#include <span>
#include <vector>

namespace ombrel {

struct HidUsage {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    bool operator==(const HidUsage&) const = default;
};

// Any bytes: an item running past the end ends the reading, with what was found before it.
std::vector<HidUsage> TopLevelUsages(std::span<const std::uint8_t> descriptor);

} // namespace ombrel
