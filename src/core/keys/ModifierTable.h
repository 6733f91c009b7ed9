#pragma once
// The eight modifier keys and the bit each has in a keyboard entry (kind 0x02, b1 0x01).

#include "keyboard/KeyTable.h"

#include <array>
#include <cstdint>

namespace ombrel {

struct ModifierRow {
    std::uint8_t bit;
    KeyCode code;
};

namespace detail {
inline constexpr std::array<ModifierRow, 8> kModifierRows{{
    {0x01, 0x01D}, // Left Ctrl
    {0x02, 0x02A}, // Left Shift
    {0x04, 0x038}, // Left Alt
    {0x08, 0x15B}, // Left Win
    {0x10, 0x11D}, // Right Ctrl
    {0x20, 0x036}, // Right Shift
    {0x40, 0x138}, // Right Alt
    {0x80, 0x15C}, // Right Win
}};
} // namespace detail

constexpr const std::array<ModifierRow, 8>& ModifierTable() {
    return detail::kModifierRows;
}

// The key's modifier bit, or 0 when it is no modifier.
constexpr std::uint8_t ModifierBitOfKey(KeyCode code) {
    for (const ModifierRow& row : ModifierTable())
        if (row.code == code) return row.bit;
    return 0;
}

// The key of the lowest set bit, or 0 when no bit is set.
constexpr KeyCode KeyOfModifierBits(std::uint8_t bits) {
    for (const ModifierRow& row : ModifierTable())
        if (bits & row.bit) return row.code;
    return 0;
}

} // namespace ombrel
