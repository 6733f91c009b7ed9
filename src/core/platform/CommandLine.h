#pragma once
// The start switches. "/Start" keeps the window in the tray until the user opens it; "/Kill" ends a running
// instance and never starts one, asking first in its window when it holds unapplied edits; "--force" with "/Kill"
// ends it without asking. Each is compared with the whole argument, ignoring letter case; "--start" and "--kill" are
// the same switches. Every other argument is left to the application's own option parser.

#include <string_view>
#include <vector>

namespace ombrel {

struct StartSwitches {
    bool start = false; // "/Start" came before any "/Kill"
    bool kill = false;
    bool force = false; // "--force" anywhere: a "/Kill" does not wait for the user's answer
};

enum class StartSwitch { None, Start, Kill, Force };

StartSwitch ClassifyArgument(std::string_view argument);

// Examines the arguments after the program name in order. "/Start" after "/Kill" is not counted: "/Kill" ends
// the process before later arguments matter; "--force" counts wherever it stands.
StartSwitches ParseStartSwitches(const std::vector<std::string_view>& arguments);
StartSwitches ParseStartSwitches(int argc, const char* const* argv);

} // namespace ombrel
