#pragma once
// Applying a keyboard file, checked in full before anything is sent: the keyboard is read, the file put over it,
// its macros renumbered as the keyboard numbers them and measured against the keyboard's macro memory, and what
// differs worked out. Used by ombrelctl apply, the history's restore and the window alike.

#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "keyboardfile/SetupDifference.h"

#include <string>
#include <vector>

namespace ombrel {

struct ApplyPlan {
    std::vector<FileProblem> problems; // the file cannot be applied to this keyboard
    KeyboardSetup current;             // the keyboard as it is
    KeyboardSetup wanted;              // as it will be
    SetupDifference difference;
};

// LINK_OK with the plan (which may list problems), or the result of a failed read with what failed in `what`.
int PlanSetupApply(SetupPlaces& places, const KeyboardFileRead& read, const SetupNames& names, ApplyPlan& plan,
                   std::string* what);

// Writes a plan without problems, in one write group: one snapshot in the write history.
int CarryOutApply(SetupPlaces& places, const ApplyPlan& plan, std::string* why);

} // namespace ombrel
