#pragma once
// The commands on the per-key colours of the user effect: colors show, paint, slot and base.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& ColorCommands();

} // namespace ombrel::cli
