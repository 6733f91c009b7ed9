#pragma once
// ombrelctl history: the snapshots the write history kept before each write, what each write changed, and a
// snapshot put back.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& HistoryCommands();

// Run before `command` on an open session: says when the last write was cut off and the keyboard holds a mix,
// naming the commands that finish it, undo it or keep it. kExitOk when the command may go ahead: a command that
// only reads always may, one that writes not until the user has chosen.
int GuardUnfinishedWrite(CliSession& session, const CommandInfo& command);

} // namespace ombrel::cli
