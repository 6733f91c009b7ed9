#pragma once
// ombrelctl history: the snapshots the write history kept before each write, what each write changed, and a
// snapshot put back.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& HistoryCommands();

} // namespace ombrel::cli
