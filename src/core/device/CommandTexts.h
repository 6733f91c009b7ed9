#pragma once
// Texts that the command-line tool prints and the bus service returns as error messages, kept in one place so a
// script gets the same words whichever way it reached the keyboard.

#include <string>
#include <string_view>

namespace ombrel {

// "'TEXT' is not a profile: profiles are 1, 2 and 3".
std::string NotAProfileText(std::string_view given);
// "WHAT failed: DESCRIPTION (NAME N)", e.g. "switching the profile failed: ...".
std::string FailureText(std::string_view what, int result);
// "1.10" for the firmware version code 0x0110.
std::string FirmwareVersionText(unsigned code);
inline constexpr const char* kNoKeyboardText = "no keyboard found";

} // namespace ombrel
