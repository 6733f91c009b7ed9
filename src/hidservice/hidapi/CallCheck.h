#pragma once
// Verifies the check value a call carries: computed over the filter, the callback's address, the tag and the
// call's payload. A caller built against another layout of these arguments fails it and is refused.

#include <cstdint>
#include <span>

#include "VevIroz.h"

namespace ombrel::hid {

bool callCheckMatches(const std::uint8_t* filter, VevNotifyFn callback, std::uint32_t tag,
                      std::span<const std::uint8_t> payload, std::uint32_t check);

} // namespace ombrel::hid
