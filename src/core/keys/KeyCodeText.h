#pragma once
// Keys written as text where no name is wanted: a key code as 0x03A, a G key as G1..G9 (bank A) or G1B..G9B.

#include "keys/KeyImage.h"

#include <optional>
#include <string>
#include <string_view>

namespace ombrel {

inline constexpr int kGKeysPerBank = 9;

// "0x03A" (0x or 0X, at most 0xFFFF); nothing for anything else, decimal digits included.
std::optional<KeyCode> ParseHexKeyCode(std::string_view text);
// Three hexadecimal digits at least, upper case: "0x03A".
std::string HexKeyCode(unsigned code);
// A G key by its name, any other key by its code.
std::string KeyIndexText(KeyIndex index);

} // namespace ombrel
