#pragma once
// The commands that move all profiles between the keyboard and a profile file: backup, validate, restore.

#include "Commands.h"

#include <vector>

namespace ombrel::cli {

const std::vector<CommandInfo>& BackupCommands();

// Reads the keyboard's key functions and macros into the profile file `target`. An existing file is only replaced
// with --force. Prints what failed; returns the exit code.
int BackupKeyboard(CliSession& session, const std::string& target);

} // namespace ombrel::cli
