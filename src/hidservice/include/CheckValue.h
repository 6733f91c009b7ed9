#pragma once
// The check value every call to the HID service library carries. Program and library compute it the same way;
// the library refuses a call whose value does not match, which catches a caller built against another layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel {

// A fixed permutation of 0..255.
const std::array<std::uint8_t, 256>& CheckTable();

// Sum of CheckTable over the 16 filter bytes, the callback's address as 4 bytes little-endian (its low 32 bits),
// the tag as 4 bytes little-endian, and the payload bytes.
std::uint32_t CheckValue(std::span<const std::uint8_t, 16> filter, std::uintptr_t callback, std::uint32_t tag,
                         std::span<const std::uint8_t> payload = {});

} // namespace ombrel
