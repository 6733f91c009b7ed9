#pragma once
// The two start switches. "/Start" keeps the window in the tray until the user opens it; "/Kill" ends a running
// instance and never starts one. Each is compared with the whole argument, ignoring letter case; "--start" and
// "--kill" are the same switches. Every other argument is left to the application's own option parser.

#include <string_view>
#include <vector>

namespace ombrel {

struct StartSwitches {
    bool start = false; // "/Start" came before any "/Kill"
    bool kill = false;
};

enum class StartSwitch { None, Start, Kill };

StartSwitch ClassifyArgument(std::string_view argument);

// Examines the arguments after the program name in order. "/Start" after "/Kill" is not counted: "/Kill" ends
// the process before later arguments matter.
StartSwitches ParseStartSwitches(const std::vector<std::string_view>& arguments);
StartSwitches ParseStartSwitches(int argc, const char* const* argv);

} // namespace ombrel
