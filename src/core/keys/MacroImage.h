#pragma once
// The keyboard's macro memory, shared by the three profiles: a 16-byte header (magic 0x55AA, total size, macro
// count, whether names are included), a table of block offsets, then one block per macro: step count, cycles,
// name length, 4-byte steps and, when included, the name's UTF-16 units without their zero. A step is a control
// word (pause / 10 in bits 0..11, entry kind in bits 12..14, press in bit 15) and the b1, b2 of the key's entry.

#include "keys/KeymapBlock.h"
#include "keys/MacroRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ombrel {

inline constexpr std::uint16_t kMacroImageMagic = 0x55AA;
inline constexpr std::size_t kMacroImageHeaderSize = 16;
// The longest pause a step can hold: 4095 x 10 ms. Longer pauses are written as this one, never wrapped round.
inline constexpr std::uint32_t kMaxStepDelayMs = 40950;

struct MacroImageSizes {
    std::size_t withoutNames = kMacroImageHeaderSize;
    std::size_t withNames = kMacroImageHeaderSize;
};

MacroImageSizes MeasureMacroImage(std::span<const MacroRecord> macros);

// The image of `macros` in store order, with or without their names.
std::vector<std::uint8_t> BuildMacroImage(std::span<const MacroRecord> macros, bool includeNames);

// The entry (kind, b1, b2) a step with this key is written with.
KeymapEntry StepEntryOfKey(KeyCode code);
std::array<std::uint8_t, 4> EncodeMacroStep(const MacroAction& action);
MacroAction DecodeMacroStep(std::span<const std::uint8_t, 4> bytes);

struct MacroImageHeader {
    std::uint16_t magic = 0;
    std::uint16_t totalSize = 0;
    std::uint16_t macroCount = 0;
    std::uint16_t namesIncluded = 0;

    // All zero (no macros) when `bytes` is shorter than the header.
    static MacroImageHeader read(std::span<const std::uint8_t> bytes);
    bool valid() const { return magic == kMacroImageMagic; }
};

// The macros of an image read back from the keyboard, as macro records: id = position + 1, the block's cycles
// and steps, the stored name or else `namePrefix` followed by position + 1. Every read stays inside `image`:
// without the magic, or with an offset table that does not fit, there are no macros; at most 100 are read; a
// block that runs past the end or claims more than 4000 steps comes back without steps (its position, and so the
// ids of the macros after it, stay as they are); a name that runs past the end is replaced by the generated one.
std::vector<MacroRecord> DecodeMacroImage(std::span<const std::uint8_t> image, const std::u16string& namePrefix);

} // namespace ombrel
