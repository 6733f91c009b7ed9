#pragma once
// Writes key assignments and macros to the keyboard: `workingStore` is snapshotted into `outgoingStore`, the
// macros are packed into one macro memory image no larger than the keyboard's macro memory, one key-function
// block is encoded per profile concerned, and all of it goes in one write transaction.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "device/ScreenPort.h"
#include "keys/AssignmentStore.h"

#include <functional>
#include <memory>
#include <span>

namespace ombrel {

// Writes the macro image and the blocks of `profiles` (ascending, each 0..2). Shows "EXTRA_MACRO_TOO_LONG" and
// sends nothing when the macros do not fit even without their names (result 0); shows
// "EXTRA_PROFILE_SPACE_TIGHT" after the transaction when they only fit without them. When the macro memory size
// is not known yet it is read from the keyboard first (when that read fails, nothing is sent, no message is shown
// and the read's result is returned). Returns LINK_OK when the macro image and every block were
// written, else the first failure (the transaction is completed all the same).
int WriteKeysToKeyboard(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                        std::span<const int> profiles);

// Told what a keys write is about to send (the outgoing store and the profiles whose blocks go), before its first
// report; what it returns is kept until the write is over (the write history keeps the state the write means to
// leave). An empty hook removes it.
using KeysWriteHook =
    std::function<std::shared_ptr<void>(DeviceCommands&, const AssignmentStore& outgoing, std::span<const int>)>;
void SetKeysWriteHook(KeysWriteHook hook);

// All three profiles (allProfiles = 1), or only the active one (0; nothing is sent and 0 returned when the
// active profile cannot be read).
int ApplyToKeyboard(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                    int allProfiles);

} // namespace ombrel
