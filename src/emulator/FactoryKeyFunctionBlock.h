#pragma once
// The keyboard's factory key-function block: 126 three-byte entries, one per slot, that name every key the
// keyboard can remap. Slot i of every profile's block belongs to the key that slot i of this block names.
//
// The slots the program knows from its built-in partial table hold exactly those entries, except slots 0..5,
// which the partial table leaves as placeholders and which hold the G keys 1..6 here. The remaining map keys
// (modifiers as 02 01 bit, other keys as 02 02 usage) and G keys 7..18 fill the free slots in ascending order.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ombrel::emu {

inline constexpr std::size_t kKeymapSlots = 126;
inline constexpr std::size_t kKeymapEntrySize = 3;

using KeymapBlockBytes = std::array<std::uint8_t, kKeymapSlots * kKeymapEntrySize>;

const KeymapBlockBytes& FactoryKeyFunctionBlock();

} // namespace ombrel::emu
