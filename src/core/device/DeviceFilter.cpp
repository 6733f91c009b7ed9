#include "device/DeviceFilter.h"

#include "util/Bytes.h"

namespace ombrel {

std::array<std::uint8_t, 16> DeviceFilter::bytes() const {
    std::array<std::uint8_t, 16> out{};
    putLe32(out.data(), matchMask);
    putLe16(out.data() + 4, vendorId);
    putLe16(out.data() + 6, productId);
    putLe16(out.data() + 8, usagePage);
    putLe16(out.data() + 10, usage);
    return out;
}

DeviceFilter DeviceFilter::parse(const std::uint8_t* bytes16) {
    DeviceFilter f;
    f.matchMask = getLe32(bytes16);
    f.vendorId = getLe16(bytes16 + 4);
    f.productId = getLe16(bytes16 + 6);
    f.usagePage = getLe16(bytes16 + 8);
    f.usage = getLe16(bytes16 + 10);
    return f;
}

} // namespace ombrel
