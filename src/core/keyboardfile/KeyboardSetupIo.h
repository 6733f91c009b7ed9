#pragma once
// The keyboard's whole setup read from the keyboard (key functions, macros, lighting) and the colour files (the
// per-key colours, which the keyboard cannot give back), and a changed setup written back: only the areas that
// differ, each the way its own editor writes it, the profile store file and the colour files kept in step.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "device/ScreenPort.h"
#include "keyboardfile/KeyboardSetup.h"
#include "keyboardfile/SetupDifference.h"
#include "keys/TextSources.h"

#include <string>

namespace ombrel {

struct SetupPlaces {
    DeviceCommands& commands;
    DeviceState& state;
    ScreenPort& screen;
    TextLookup text;         // may be empty
    std::string storePath;   // the profile store file, kept in step with the keys written; "" leaves it alone
    std::string colorPrefix; // the colour files' prefix (AppPaths::userColorPrefix)
};

// Reads everything; LINK_OK or the first failed read's result (with what was read in `what`).
int ReadKeyboardSetup(SetupPlaces& places, KeyboardSetup& out, std::string* what = nullptr);

// Gives the macros of `setup` the ids the keyboard will report for them (1, 2, ... in list order, as it numbers
// them when read) and points the macro keys at the new ids. False, with the key in `why`, when a macro key plays
// an id the list does not have.
bool RenumberMacros(KeyboardSetup& setup, std::string* why);

// The macro memory `setup`'s macros need at the least (without names).
std::size_t MacroBytesNeeded(const KeyboardSetup& setup);

// Writes what `difference` (from `current` to `wanted`, both complete) names. LINK_OK when all of it was written,
// else the first failure, with what failed in `why` (a colour file that cannot be written counts as failed).
int WriteKeyboardSetup(SetupPlaces& places, const KeyboardSetup& current, const KeyboardSetup& wanted,
                       const SetupDifference& difference, std::string* why);

} // namespace ombrel
