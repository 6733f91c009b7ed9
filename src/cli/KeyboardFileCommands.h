#pragma once
// ombrelctl export and apply: the whole keyboard as a readable file, and a file applied to the keyboard.

#include "Commands.h"
#include "keyboardfile/KeyboardFileReader.h"

#include <vector>

namespace ombrel::cli {

// apply --dry-run: the file would change the keyboard.
inline constexpr int kExitWouldChange = 5;

const std::vector<CommandInfo>& KeyboardFileCommands();

// Makes the keyboard match what `read` found in `file` (its name for messages): refuses a file with problems,
// writes only what differs and prints it; with `dryRun` only prints. Returns the exit code.
int ApplyKeyboardFile(CliSession& session, const KeyboardFileRead& read, const std::string& file, bool dryRun);
// The keyboard's whole setup as it is now; the exit code.
int ReadKeyboardNow(CliSession& session, KeyboardSetup& setup);

} // namespace ombrel::cli
