#pragma once
// The lighting as the program last read it from the keyboard: the three profiles' blocks, the decoded fields of
// the profile shown, and the effects the keyboard offers. The keyboard is the store: every change is written at
// once (LightingWriter) and a failed one is read back, so this never holds a value the keyboard does not have.

#include "device/DeviceCommands.h"
#include "keyboard/ConfigBlock.h"
#include "lighting/LightingBlock.h"

#include <array>
#include <cstdint>

namespace ombrel {

struct LightingState {
    int profile = 0;                                   // the profile whose block is shown and written
    std::array<LightingBytes, kProfileCount> blocks{}; // as last read or written
    LightingFields fields;                             // `blocks[profile]` decoded
    ConfigBlock config;                                // the configuration of the last load (its mode list)
    std::uint32_t effectSelections = 0;                // counts effect choices; the preview restarts on each

    // Shows `p`'s block (0..2; other values are ignored).
    void showProfile(int p);
    // Decodes the shown profile's block again.
    void decode() { fields = DecodeLightingBlock(blocks[static_cast<std::size_t>(profile)]); }
    // Where a field of the shown profile lies in the keyboard's lighting memory.
    int offsetOf(int field) const { return profile * static_cast<int>(kLightingBlockSize) + field; }
};

// Reads the configuration (active profile, offered effects) and the three blocks, showing the active profile.
// A failed configuration read changes nothing and returns its result. A failed block read keeps that block as
// it was and returns the first failure once the other blocks are read.
int LoadLighting(DeviceCommands& commands, LightingState& state);
// Only the three blocks, in one begin/end bracket; the shown profile stays.
int ReadLightingBlocks(DeviceCommands& commands, LightingState& state);

} // namespace ombrel
