#pragma once
// The key-function block the program assumes for a keyboard whose own factory block has not been read yet:
// a partial table of the slots whose meaning is known, all other slots 00 00 00.

#include <array>
#include <cstdint>

namespace ombrel {

using KeymapBytes = std::array<std::uint8_t, 378>;

const KeymapBytes& BuiltInDefaultKeymap();

} // namespace ombrel
