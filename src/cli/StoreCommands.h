#pragma once
// The commands that work on key assignments, macros and profile files: backup, validate, restore, keymap show,
// keymap set, keymap reset and macro list.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& StoreCommands();

} // namespace ombrel::cli
