#pragma once
// Giving one key of a profile a new function in a store read from the keyboard: the checks and the change that
// ombrelctl's keymap commands and the bus service share, with the messages both report.

#include "keys/AssignmentStore.h"
#include "keys/KeyImage.h"
#include "keys/KeyRecord.h"
#include "keys/KeymapBlock.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ombrel::cli {

// Keys the keyboard's factory block names no slot for cannot be given a function.
bool FactoryBlockHasKey(const KeymapBytes& factory, KeyIndex index);
std::string NoSuchKeyText(const std::string& keyArgument);

// Puts `record` on key `index` of profile `profile` (0-based) in `store`, whose lock the caller holds; a macro
// function takes the macro's cycles, a G key keeps its tag. "" when done, else why not (nothing changed).
std::string ChangeKeyFunction(AssignmentStore& store, int profile, KeyIndex index, KeyRecord record);

// The keys of a profile in the order ombrelctl lists them: the map's keys, then the G keys.
std::vector<KeyIndex> ProfileKeys();
// The keys that play macro `id`, as (profile 0..2, key).
std::vector<std::pair<int, KeyIndex>> KeysPlayingMacro(const AssignmentStore& store, std::uint32_t id);

} // namespace ombrel::cli
