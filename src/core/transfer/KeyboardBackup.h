#pragma once
// Reads the keyboard's key-function blocks and macro memory and turns them into a profile file. Program and text
// assignments are not kept by the keyboard and come back as factory and disabled keys; macros come back with ids
// 1, 2, ... in memory order and, when the keyboard had no room for their names, with generated names.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "keys/TextSources.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrel {

// The bytes of the profile file, or nothing when a read failed (its result in `result` when given).
std::optional<std::vector<std::uint8_t>> ReadKeyboardImage(DeviceCommands& commands, DeviceState& state,
                                                           const TextLookup& text, int* result = nullptr);

// Reads the keyboard and replaces the file at `path` with what it holds; the file is only touched when every read
// succeeded. Result 1 on success, 0 otherwise with what failed in `why` when given.
int ReadKeyboardToFile(DeviceCommands& commands, DeviceState& state, const std::string& path, const TextLookup& text,
                       std::string* why = nullptr);

} // namespace ombrel
