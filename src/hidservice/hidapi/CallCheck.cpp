#include "CallCheck.h"

#include "CheckValue.h"

namespace ombrel::hid {

bool callCheckMatches(const std::uint8_t* filter, VevNotifyFn callback, std::uint32_t tag,
                      std::span<const std::uint8_t> payload, std::uint32_t check) {
    if (!filter) return false;
    const auto address = reinterpret_cast<std::uintptr_t>(callback);
    return CheckValue(std::span<const std::uint8_t, VEV_FILTER_SIZE>(filter, VEV_FILTER_SIZE), address, tag, payload) ==
           check;
}

} // namespace ombrel::hid
