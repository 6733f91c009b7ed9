#pragma once
// The names under which the running program serves the keyboard on the session bus, shared by the program and
// ombrelctl, and the name of the keyboard a run works on, so ombrelctl only goes through a program that works on
// the same one.

#include <string>

namespace ombrel {

inline constexpr const char* kBusServiceName = "io.github.ombrel.Ombrel"; // the program's application id
inline constexpr const char* kBusKeyboardPath = "/io/github/ombrel/Ombrel/Keyboard";
inline constexpr const char* kBusKeyboardInterface = "io.github.ombrel.Keyboard1";
// ombrelctl's own way in: its device exchanges, done by the program on its connection to the keyboard.
inline constexpr const char* kBusCommandLineInterface = "io.github.ombrel.CommandLine1";

// "keyboard" for the real keyboard, "emulator:/absolute/state/file" for the emulator keeping its memory there;
// "" for an emulator whose memory lasts one run only, which no other program can share.
std::string KeyboardTargetName(bool emulator, const std::string& emulatorState);

} // namespace ombrel
