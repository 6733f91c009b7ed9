#pragma once
// The commands of ombrelctl: each takes its arguments and an open session and returns the exit code.

#include "CliSession.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace ombrel::cli {

using Args = std::vector<std::string>;

struct CommandInfo {
    const char* name;    // first word(s) on the command line
    const char* usage;   // arguments
    const char* summary; // one line for --help
    int minArgs;
    int maxArgs;
    int (*run)(CliSession& session, const Args& args);
    const char* details = nullptr; // what "ombrelctl COMMAND --help" adds to the summary
    int (*runOffline)(const Args& args, const CliOptions& options) = nullptr; // for commands that need no keyboard
    bool takesForce = false;                                                  // the command understands --force
    bool takesJson = false; // the command shows something and can show it as JSON (--json)
};

const std::vector<CommandInfo>& AllCommands();

// A profile as the window numbers it, 1, 2 or 3, turned into the keyboard's 0, 1 or 2; prints why not and returns
// nothing for anything else.
std::optional<int> parseProfile(const std::string& text);

// The number a person sees for the keyboard's profile `index` (0..2).
inline int ProfileNumber(int index) {
    return index + 1;
}

// Prints the usage of the commands that start with `group` ("keymap"); false when there are none.
bool PrintGroupUsage(const std::string& group, std::FILE* to);

} // namespace ombrel::cli
