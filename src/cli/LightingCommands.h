#pragma once
// The commands on the backlight: lighting show, set and reset.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& LightingCommands();

} // namespace ombrel::cli
