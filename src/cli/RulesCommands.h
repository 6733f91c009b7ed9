#pragma once
// ombrelctl rules: the rules that switch the keyboard's profile with the application in front, edited in the same
// file the window edits. No keyboard is needed.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& RulesCommands();

} // namespace ombrel::cli
