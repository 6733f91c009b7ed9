#pragma once
// `ombrelctl names`: every key, media, keyboard-function and mouse name the other commands accept.

#include "Commands.h"

namespace ombrel::cli {

const std::vector<CommandInfo>& NamesCommands();

} // namespace ombrel::cli
