#pragma once
// One key's assignment in one profile, as the key image and the profile files hold it (16 bytes).

#include "keys/KeyFunction.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel {

struct KeyRecord {
    static constexpr std::size_t kSize = 16;

    std::uint16_t type = KF_DEFAULT;
    // G-key records: the G-key tag; macro assignments: the cycle count; otherwise 0.
    std::uint16_t extra = 0;
    std::uint32_t value = 0;
    std::uint32_t mark = 0; // 1 while the key is marked on the keyboard map
    std::uint32_t reserved = 0;

    static KeyRecord readFrom(std::span<const std::uint8_t, kSize> bytes);
    void writeTo(std::span<std::uint8_t, kSize> bytes) const;

    bool operator==(const KeyRecord&) const = default;
};

} // namespace ombrel
