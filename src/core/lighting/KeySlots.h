#pragma once
// The colour slot of each key of the map: the keyboard's per-key colour memory holds 126 slots per profile, slot
// row x 21 + column on a grid of 6 rows of 21; all nine G keys share one slot.

#include <array>
#include <cstdint>

namespace ombrel {

inline constexpr int kColorSlotCount = 126;
inline constexpr int kFnControl = 1174;
inline constexpr int kFnSlot = 110;
inline constexpr int kGKeySlot = 125;

// The slots of the key buttons, in the order of KeyButtonTable().
const std::array<std::uint8_t, 105>& KeyButtonSlots();
// The slot of a map control: a key button, Fn or a G key; 0 for any other control.
int SlotOfControl(int control);

} // namespace ombrel
