#pragma once
// The command that lists the macros the keyboard holds: macro list.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& MacroCommands();

} // namespace ombrel::cli
