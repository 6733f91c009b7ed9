#pragma once
// The doctor's view of this computer for the running program: the real system folders, the rule the program
// ships, its service library (loaded here to see whether it can be), its per-user folders and its own process.
// Only the desktop's tray is left to the caller, which knows best how to ask its desktop.

#include "doctor/Doctor.h"
#include "platform/AppPaths.h"

namespace ombrel {

DoctorSystem LocalDoctorSystem(const AppPaths& paths);

} // namespace ombrel
