#pragma once
// The command that sends the keyboard into its boot loader (after a backup): firmware boot.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& FirmwareCommands();

} // namespace ombrel::cli
