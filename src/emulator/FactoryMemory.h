#pragma once
// What a keyboard holds when it leaves the factory, and what a reset brings back.
//
// - Configuration: bytes 0..7 are fixed identification bytes 11 22 33 44 55 66 77 88, firmware version 0x0110,
//   active profile 0, 0x40 macro units (8 KiB of macro memory), and the effects 1..18 and 20 offered in that
//   order.
// - Lighting: profile 0 runs effect 1 (brightness 5, speed 2, colourful, white), profile 1 the per-key colour
//   effect 20, profile 2 effect 5 in plain red; every other byte is 0.
// - Per-key colours: every one of the 126 slots is red in profile 0, green in profile 1 and blue in profile 2;
//   the unused tail of each 512-byte profile area is 0.
// - Macro memory: an empty macro image (magic 0x55AA, total size 16, no macros), zeros after it.
// - Key functions: the factory key-function block (FactoryKeyFunctionBlock), in the default block and as the
//   block of each of the three profiles.

#include "emulator/KeyboardMemory.h"

namespace ombrel::emu {

KeyboardMemory FactoryMemory();

} // namespace ombrel::emu
