#pragma once
// Starting programs the program hands work to and then leaves alone (the daemon, a firmware updater): each runs
// in its own session, so a terminal's Ctrl+C for this program does not reach it, with the signal dispositions a
// freshly started program expects, and is never waited on, stopped or signalled by this program.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ombrel {

// A regular file this user may execute.
bool IsExecutableFile(const std::string& path);

// The first executable `name` in the folders of `searchPath` (":"-separated, as $PATH), or "".
std::string FindProgramOnPath(const std::string& name, const std::string& searchPath);

// Starts `argv` (argv[0] is the program's path) in `workingDir` ("" = this process's). A background thread
// collects its exit status, so a program that ends early does not stay behind as a zombie. Returns its process
// id, or 0 with the system's reason in `why` (when given) when it could not be started.
pid_t StartDetached(const std::vector<std::string>& argv, const std::string& workingDir, std::string* why = nullptr);

} // namespace ombrel
