#pragma once
// The commands on single key functions: keymap show, keymap set, keymap reset.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& KeymapCommands();

} // namespace ombrel::cli
