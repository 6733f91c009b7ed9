#pragma once
// Which of the keyboard's three profiles is active, cached so most callers never ask the keyboard.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"

namespace ombrel {

// The active profile index, from the cache or else read from the keyboard; -1 when it cannot be read.
int GetActiveProfile(DeviceCommands& commands, DeviceState& state);

// Makes profile `index` active: reads the configuration block, changes byte 10 and writes it back unchanged
// otherwise. A negative index does nothing (LINK_BAD_ARGUMENT), an index above 2 is refused (LINK_BAD_PROFILE).
// Returns the write's result; on a failed write the cache is invalidated so the next query asks the keyboard.
LinkResult SetActiveProfile(DeviceCommands& commands, DeviceState& state, int index);

} // namespace ombrel
