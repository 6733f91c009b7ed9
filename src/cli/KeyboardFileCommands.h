#pragma once
// ombrelctl export and apply: the whole keyboard as a readable file, and a file applied to the keyboard.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

// apply --dry-run: the file would change the keyboard.
inline constexpr int kExitWouldChange = 5;

const std::vector<CommandInfo>& KeyboardFileCommands();

} // namespace ombrel::cli
