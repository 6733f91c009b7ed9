#pragma once
// Whether the toolkit will find a display, asked before it starts: Qt ends the process with an abort (exit 134 and
// a hint to reinstall) when no platform can connect, so the program looks first and says plainly what is missing.

#include <functional>
#include <string>

namespace ombrel {

struct DisplayEnvironment {
    std::string platform;       // Qt's -platform argument, else $QT_QPA_PLATFORM (a ';'-separated list)
    std::string display;        // $DISPLAY
    std::string waylandDisplay; // $WAYLAND_DISPLAY
    std::string runtimeDir;     // $XDG_RUNTIME_DIR

    // From the environment; `platformArgument` (the -platform value) wins over $QT_QPA_PLATFORM when given.
    static DisplayEnvironment current(const std::string& platformArgument);
};

// Whether an X server answers at that display name.
using XDisplayCheck = std::function<bool(const std::string& display)>;
bool CanReachXDisplay(const std::string& display);

// Empty when one of the platforms Qt would try can start; otherwise the reason, for the user.
std::string NoDisplayReason(const DisplayEnvironment& env, const XDisplayCheck& canReachX = CanReachXDisplay);

} // namespace ombrel
