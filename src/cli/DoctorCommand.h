#pragma once
// `ombrelctl doctor`: what stands between the user and a working keyboard, each problem with its fix.

#include "Commands.h"
#include "doctor/Doctor.h"

#include <optional>

namespace ombrel::cli {

const CommandInfo& DoctorCommand();

// The doctor's checks on this computer (the desktop's tray only when asked); nothing (after saying why) when the
// program cannot find its own files.
std::optional<DoctorReport> DoctorReportHere(bool askTheTray);

// On stderr: the doctor's problems that keep the keyboard away, each with its fix.
void PrintKeyboardProblems();

} // namespace ombrel::cli
