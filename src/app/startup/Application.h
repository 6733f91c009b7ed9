#pragma once
// The application object: the first and last code of the program. It reads the command line, builds the paths and
// settings, applies the single-instance rules (a later start hands its request to the running instance and
// ends), loads the HID service library, runs the main window for the whole life of the process, and takes
// everything down again in order.

#include <memory>

namespace ombrel {

class Application {
public:
    // The whole program; returns the process exit code.
    int run(int argc, char** argv);
};

inline constexpr int kExitBadCommandLine = 1;
inline constexpr int kExitNoDisplay = 1;
inline constexpr int kExitNoService = 2;
inline constexpr int kExitRequestNotTaken = 3; // a later start could not hand its request to the running one

} // namespace ombrel
