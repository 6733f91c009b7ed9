#pragma once
// Between key records and the keyboard's key-function blocks: which key a factory entry names, the entry a record
// becomes, and the records a block read from the keyboard gives.

#include "keys/KeyImage.h"
#include "keys/KeymapBlock.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace ombrel {

// The position of the macro with a given id in the macro memory, or nothing when no macro has it.
using MacroPositionLookup = std::function<std::optional<int>(std::uint32_t macroId)>;

// The key a factory entry names: mouse buttons and wheel steps, keyboard keys and modifiers (the lowest modifier
// bit), consumer keys, the three system keys and the G keys; 0 for anything else.
KeyCode KeyOfEntry(const KeymapEntry& entry);

// The entry the keyboard gets for a record whose slot's factory entry is `factory`. A macro assignment whose
// macro no longer exists, and a record the keyboard cannot perform (an unknown type, a media row or function
// beyond its list), keep the factory entry, so the key does what it always did rather than something unrelated.
KeymapEntry EncodeEntry(const KeyRecord& record, const KeymapEntry& factory, const MacroPositionLookup& macroPosition);

// The block for one layer of `image`: the factory block, with every slot whose factory entry names a key replaced
// by the entry of that key's record. Slots that name no key keep their factory entry.
KeymapBlock EncodeKeymapBlock(const KeyImage& image, int layer, const KeymapBlock& factory,
                              const MacroPositionLookup& macroPosition);

// The records of one layer from a block read from the keyboard: every slot equal to its factory entry leaves its
// key at its factory function; any other slot gives its key the function the entry stands for, or disables it
// when the entry stands for nothing a record can hold. Program and text assignments therefore come back as
// factory and disabled keys, and a macro at position p as macro id p + 1.
void DecodeKeymapBlock(const KeymapBlock& keyboard, const KeymapBlock& factory, KeyImage& image, int layer);

// The mouse entry (kind 0x01) of a mouse key code, or nothing for other keys.
std::optional<KeymapEntry> MouseEntryOfKey(KeyCode code);

} // namespace ombrel
