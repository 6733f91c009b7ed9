#pragma once
// The commands of ombrelctl: each takes its arguments and an open session and returns the exit code.

#include "CliSession.h"

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
};

const std::vector<CommandInfo>& AllCommands();

} // namespace ombrel::cli
