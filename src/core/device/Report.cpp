#include "device/Report.h"

#include <algorithm>

namespace ombrel {

Report Report::fromBytes(std::span<const std::uint8_t> data) {
    Report r;
    r.bytes.fill(0);
    std::copy_n(data.begin(), std::min(data.size(), kSize), r.bytes.begin());
    return r;
}

std::uint16_t Report::computeSum() const {
    unsigned sum = 0;
    for (std::size_t i = 3; i < kSize; ++i)
        sum += bytes[i];
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

void Report::seal() {
    const std::uint16_t sum = computeSum();
    bytes[1] = static_cast<std::uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<std::uint8_t>(sum >> 8);
}

} // namespace ombrel
