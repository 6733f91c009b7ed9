#pragma once
// `ombrelctl doctor`: what stands between the user and a working keyboard, each problem with its fix.

#include "Commands.h"

namespace ombrel::cli {

const CommandInfo& DoctorCommand();

} // namespace ombrel::cli
