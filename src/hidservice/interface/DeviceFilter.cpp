#include "DeviceFilter.h"

namespace ombrel {

namespace {

// The filter's fields are little-endian whatever the machine's byte order.
void PutLittleEndian(std::uint8_t* at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLittleEndian(const std::uint8_t* at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

} // namespace

std::array<std::uint8_t, 16> DeviceFilter::bytes() const {
    std::array<std::uint8_t, 16> out{};
    PutLittleEndian(out.data(), matchMask, 4);
    PutLittleEndian(out.data() + 4, vendorId, 2);
    PutLittleEndian(out.data() + 6, productId, 2);
    PutLittleEndian(out.data() + 8, usagePage, 2);
    PutLittleEndian(out.data() + 10, usage, 2);
    return out;
}

DeviceFilter DeviceFilter::parse(const std::uint8_t* bytes16) {
    DeviceFilter f;
    f.matchMask = GetLittleEndian(bytes16, 4);
    f.vendorId = static_cast<std::uint16_t>(GetLittleEndian(bytes16 + 4, 2));
    f.productId = static_cast<std::uint16_t>(GetLittleEndian(bytes16 + 6, 2));
    f.usagePage = static_cast<std::uint16_t>(GetLittleEndian(bytes16 + 8, 2));
    f.usage = static_cast<std::uint16_t>(GetLittleEndian(bytes16 + 10, 2));
    return f;
}

} // namespace ombrel
