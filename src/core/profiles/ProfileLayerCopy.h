#pragma once
// One profile of a profile file taken into the store: the key records of that profile, with the macros and the
// program and text strings they use. The other two profiles stay as they are.

#include "keys/AssignmentStore.h"

#include <string>

namespace ombrel {

// Replaces profile `profile`'s (0..2) key records in `target` with the same profile's records in `source`. A macro
// the records play is added to `target` under its own id, or under a free id when `target` has another macro with
// that id; a macro already there with the same content is shared. False, and `target` unchanged, for a profile
// outside 0..2 or when the macros would not fit (the reason in `why`). The caller holds both stores' locks.
bool CopyProfileLayer(const AssignmentStore& source, AssignmentStore& target, int profile, std::string* why = nullptr);

} // namespace ombrel
