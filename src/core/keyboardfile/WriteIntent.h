#pragma once
// What a write means to leave on the keyboard, said by the writer before its first report, so the write history
// can keep it beside the snapshot: a write cut off halfway can then be finished as well as undone.

#include "device/DeviceCommands.h"
#include "keyboardfile/KeyboardSetup.h"

#include <optional>

namespace ombrel {

// Declares, while it lives, that the writes through `commands` mean to put `change` over the keyboard (a setup
// that may name only part of it). The outermost declaration holds: a write that is part of a larger one (the keys
// of a whole file applied) does not replace the larger one's.
class WriteIntent {
public:
    WriteIntent(DeviceCommands& commands, KeyboardSetup change);
    ~WriteIntent();
    WriteIntent(const WriteIntent&) = delete;
    WriteIntent& operator=(const WriteIntent&) = delete;

private:
    DeviceCommands& m_commands;
    bool m_outermost = false;
};

// The change declared for `commands` now, if any.
std::optional<KeyboardSetup> DeclaredWriteIntent(const DeviceCommands& commands);

// Makes every keys write (the window's Apply, a backup put back) declare the macros and key functions it sends.
void DeclareKeysWriteIntents();

} // namespace ombrel
