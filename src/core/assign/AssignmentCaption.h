#pragma once
// The text that describes a key's assignment on its button: the key's name and, for an assignment other than the
// factory function, what the key does instead.

#include "keys/AssignmentStore.h"
#include "keys/KeyRecord.h"
#include "keys/TextSources.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ombrel {

// The name of a macro by id, "" when there is none.
using MacroNameLookup = std::function<std::string(std::uint32_t macroId)>;

// The display name of the key at `index`: its key-table name, or "G" and its number within its bank for the
// G keys (key indices 256..273).
std::string KeyDisplayName(KeyIndex index, const KeyNameLookup& keyName);

// `keyName`, then for any type but the factory function the text of "KEY_PROMPT_SET" and what the key does:
// the key it sends, the macro, the media or keyboard function it performs.
std::string AssignmentCaption(std::string_view keyName, const KeyRecord& record, const TextLookup& text,
                              const KeyNameLookup& keyNames, const MacroNameLookup& macroName);

// The macro names of `store` (its lock is taken for each look-up).
MacroNameLookup MacroNamesOf(const AssignmentStore& store);

} // namespace ombrel
