#pragma once
// How a chosen firmware updater is started. Updaters are usually Windows programs: a ".exe" runs through wine
// when wine is installed; anything else must be a program this user may execute. Everything is checked before the
// keyboard is sent into its boot loader, so a keyboard never waits for an updater that cannot start.

#include <string>
#include <vector>

namespace ombrel {

struct UpdaterCommand {
    enum class Kind {
        Native,      // an executable program, started as it is
        ThroughWine, // a Windows program, started by wine
        NoFile,      // the path names no file
        NeedsWine,   // a Windows program, and wine is not installed
        NotRunnable, // a file that is neither a Windows program nor executable
    };
    Kind kind = Kind::NoFile;
    std::vector<std::string> argv; // for Native and ThroughWine
};

// `searchPath` is where wine is looked for, as $PATH.
UpdaterCommand PlanUpdaterCommand(const std::string& updaterPath, const std::string& searchPath);

} // namespace ombrel
