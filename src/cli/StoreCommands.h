#pragma once
// The commands that work on key assignments, macros and profile files: backup, validate, restore, keymap show,
// keymap set, keymap reset, macro list, and firmware boot (which backs up first).

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& StoreCommands();

} // namespace ombrel::cli
