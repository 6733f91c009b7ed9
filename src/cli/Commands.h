#pragma once
// The commands of ombrelctl: each takes its arguments and an open session and returns the exit code.

#include "CliSession.h"

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
    const char* details = nullptr;                 // what "ombrelctl COMMAND --help" adds to the summary
    int (*runOffline)(const Args& args) = nullptr; // instead of `run`, for commands that need no keyboard
    bool takesForce = false;                       // the command understands --force
};

const std::vector<CommandInfo>& AllCommands();

// A profile number 0, 1 or 2; prints why not and returns nothing for anything else.
std::optional<int> parseProfile(const std::string& text);

} // namespace ombrel::cli
