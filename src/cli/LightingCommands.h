#pragma once
// The commands that work on the backlight and the per-key colours: lighting show/set/reset and colors
// show/paint/slot/base.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& LightingCommands();

} // namespace ombrel::cli
